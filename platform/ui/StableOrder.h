// Internal to the framework: the order a list's rows take when sorted by an owner's comparison.
#pragma once

#include <functional>
#include <vector>

// The indexes 0..count-1 in the order of a stable merge sort that keeps a before b when
// compare(a, b) <= 0. Every index appears once, whatever the comparison answers (one that is no
// order included), and compare only ever sees indexes of the original order.
std::vector<int> StableOrder(int count, const std::function<int(int, int)>& compare);
