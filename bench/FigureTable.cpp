#include "FigureTable.h"

#include <algorithm>
#include <cstdarg>

namespace {
std::string Format(const char* format, ...)
{
    char text[128] = {};
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    return text;
}

std::string Time(const std::vector<double>& samples, const std::string& unit, double megabytes)
{
    const double median = Figure::Median(samples);
    std::string text = Format("%.*f %s", median < 10 ? 2 : 1, median, unit.c_str());
    if (megabytes > 0 && median > 0) {
        const double seconds = unit == "us" ? median / 1e6 : median / 1e3;
        text += Format(" (%.1f MB/s)", megabytes / seconds);
    }
    return text;
}

using Row = std::vector<std::string>;

Row RowOf(const Figure& figure)
{
    Row row = { figure.name };
    if (!figure.error.empty()) {
        row.insert(row.end(), { "-", figure.peerName.empty() ? "-" : figure.peerName, "-", "-", "-",
                                figure.goal > 0 ? Format("<= %.2f", figure.goal) : "-",
                                "NOT TAKEN: " + figure.error });
        return row;
    }
    row.push_back(Time(figure.samples, figure.unit, figure.megabytes));
    const std::vector<double> ratios = figure.PairRatios();
    const double ratio = Figure::Median(ratios);
    if (figure.peerName.empty()) {
        row.insert(row.end(), { "-", "-", "-", "-" });
    } else {
        row.push_back(figure.peerName);
        row.push_back(Time(figure.peerSamples, figure.unit, figure.megabytes));
        row.push_back(Format("%.2f", ratio));
        row.push_back(Format("%.2f-%.2f", Figure::Quantile(ratios, 0.25), Figure::Quantile(ratios, 0.75)));
    }
    if (figure.goal > 0) {
        row.push_back(Format("<= %.2f", figure.goal));
        row.push_back(ratio <= figure.goal ? "met" : "MISSED");
    } else {
        row.insert(row.end(), { "-", "-" });
    }
    return row;
}
}

void FigureTable::Print(FILE* out) const
{
    std::vector<Row> rows = { { "Benchmark", "Median", "Peer", "Peer median", "Ratio", "Ratio, middle half", "Goal", "Goal met" } };
    for (const Figure& figure : m_figures)
        rows.push_back(RowOf(figure));
    std::vector<size_t> widths(rows[0].size(), 0);
    for (const Row& row : rows) {
        for (size_t column = 0; column < row.size(); ++column)
            widths[column] = std::max(widths[column], row[column].size());
    }
    for (size_t index = 0; index < rows.size(); ++index) {
        for (size_t column = 0; column < widths.size(); ++column)
            fprintf(out, "| %-*s ", static_cast<int>(widths[column]), rows[index][column].c_str());
        fprintf(out, "|\n");
        if (index == 0) {
            for (size_t width : widths)
                fprintf(out, "|%s", std::string(width + 2, '-').c_str());
            fprintf(out, "|\n");
        }
    }
}

bool FigureTable::AllTaken() const
{
    return std::none_of(m_figures.begin(), m_figures.end(), [](const Figure& f) { return !f.error.empty(); });
}
