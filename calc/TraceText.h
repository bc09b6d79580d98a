// The calculation trace for people: each formula with the engine's numbers in it, in the order the
// engine multiplies them. The tool, the dialog's tooltips and the report appendix all show these texts.
// Numbers show six significant digits, K as the table keeps it, results as their rows print them.
#pragma once

#include "calc/CalcTrace.h"

#include <string>
#include <vector>

// The verdict as the trace's documents name it: "converged", "notConverged" or "notEvaluated".
const char* VerdictName(ConvergenceVerdict verdict);

// "1 пик", "3 пика", "5 пиков".
std::u16string PeakCountText(int32_t count);

// "calibration1.stg: Ki = концентрация 50 ÷ площадь 4990 = 0.01002".
std::u16string CalibrationRunFormula(const CalibrationRunTrace& run);
// "Kcal = n 3 ÷ Σ 1/Ki 298.195 = 0.0100605"; empty after the methane error.
std::u16string CalibrationFactorFormula(const CalibrationTrace& calibration);
// "разброс = (Ki max 0.0104 − Ki min 0.0098) ÷ Kcal 0.0100605 × 100 = 5.96 %: сходимость есть
// (не более 15 %)"; empty after the methane error.
std::u16string SpreadFormula(const CalibrationTrace& calibration);

// "P = давление при градуировке 750 ÷ давление при анализе 745 = 1.00671" and "f = 1.07 (атмосферный
// воздух)"; empty when not computed.
std::u16string PressureRatioFormula(const CalcTrace& trace);
std::u16string ConditionsFactorFormula(const CalcTrace& trace);

// "метан = K 1.000000 × S̄ 212.5 (3 пика) × Kcal 0.0100605 × P 1.00671 × f 1.07 = 2.2593"; for a
// component left uncomputed, its name and the reason. Needs the trace's concentrations.
std::u16string ComponentFormula(const CalcTrace& trace, const ComponentTrace& component);
// "S с патроном = 190.1 (метан) = 190.1" and its twin over the runs without cartridge.
std::u16string SumWithFormula(const ConcentrationTrace& steps);
std::u16string SumWithoutFormula(const ConcentrationTrace& steps);
// The two group sums' formulas; empty when the engine did not compute that sum.
std::u16string SaturatedFormula(const CalcTrace& trace);
std::u16string UnsaturatedFormula(const CalcTrace& trace);

// "«этан » — 2 пика, хроматограммы № 4 (a4.stg), № 5 (a5.stg) (пробел в конце)": the runs by their №
// in the set and file name, and what makes a name miss its component.
std::u16string UnmatchedPeakText(const UnmatchedPeak& peak);

// "Пики без компонента:" and a line per unmatched peak; nothing when every peak found its component.
std::vector<std::u16string> UnmatchedPeakLines(const CalcTrace& trace);

// The texts as one, the separator between two of them.
std::u16string JoinTexts(const std::vector<std::u16string>& texts, std::u16string_view separator = u"\n");

// The text behind each result row, in the rows' order: a sum row's formula with its sum, a component
// row's formula. Empty without concentrations.
std::vector<std::u16string> RowFormulas(const CalcTrace& trace);
// The calibration runs' factors and the spread, one line each.
std::vector<std::u16string> CalibrationLines(const CalcTrace& trace);
// The whole trace, under a heading per stage.
std::vector<std::u16string> TraceLines(const CalcTrace& trace);
