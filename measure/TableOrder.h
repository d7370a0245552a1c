#pragma once

#include <algorithm>
#include <vector>

// The order in which the corner point and measurement tables list their records: ascending
// number, and among equal numbers the record collected later first. (The tables were first
// filled by repeatedly inserting the largest remaining number at the top, taking the first of
// equal numbers; this is that order, reached by a stable sort in O(n log n).)
template <class T, class Key> void SortForTable(std::vector<T*>& records, Key key) {
    std::reverse(records.begin(), records.end());
    std::stable_sort(records.begin(), records.end(),
                     [&key](const T* a, const T* b) { return key(a) < key(b); });
}
