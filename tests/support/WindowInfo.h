// What a test reads off a window or control it did not make itself.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

class CListCtrl;

std::wstring WindowText(HWND window);
std::wstring WindowClass(HWND window);

// The rows of a two-column list: column 0 and column 1 of each item.
using ListRow = std::pair<std::wstring, std::wstring>;
using ListRows = std::vector<ListRow>;
ListRows Rows(const CListCtrl& list);
