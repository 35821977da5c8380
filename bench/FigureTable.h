// The benchmark figures as a Markdown table: readable on a terminal and ready
// to paste into the documentation.
#pragma once

#include "Figure.h"

#include <cstdio>
#include <string>
#include <vector>

class FigureTable {
public:
    void Add(Figure figure) { m_figures.push_back(std::move(figure)); }

    void Print(FILE* out) const;
    // False when some figure could not be taken.
    bool AllTaken() const;

private:
    std::vector<Figure> m_figures;
};
