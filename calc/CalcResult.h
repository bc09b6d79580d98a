// The calculation engine's output.
#pragma once

#include <string>
#include <vector>

struct ResultRow {
    std::u16string name;   // a component name or a group-sum name
    std::u16string value;  // "%.4f±%.4f мг/м3"
};

struct CalcResult {
    std::u16string convergenceText;  // empty when the convergence is not evaluated
    std::vector<ResultRow> rows;
    std::vector<std::u16string> errors;
};
