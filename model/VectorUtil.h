#pragma once

#include <algorithm>
#include <vector>

// Removes the first occurrence of `v` from `vec`; returns whether it was there.
template <class T> bool RemoveFirst(std::vector<T>& vec, const T& v) {
    auto it = std::find(vec.begin(), vec.end(), v);
    if (it == vec.end())
        return false;
    vec.erase(it);
    return true;
}
