#include "calc/CalculationRun.h"

#include "platform/text/Format.h"

CalculationRun PerformCalculationRun(const MeasurementSet& set, const SettingsRecord& settings,
                                     const ComponentTable& table, CalcTrace* trace) {
    CalculationRun run;
    if (!table.loaded || table.records.empty())
        run.errors.push_back(u"Справочник компонентов не загружен — расчёт невозможен.");
    if (!(settings.pressGrad > 0))
        run.errors.push_back(u"Не задано давление при градуировке (настройки).");
    if (!(settings.pressAn > 0))
        run.errors.push_back(u"Не задано давление при анализе (настройки).");

    int nCal = 0;
    int nWith = 0;
    int nWithout = 0;
    for (const auto& [id, record] : set) {
        switch (record.sampleType) {
        case Undetermined:
            run.warnings.push_back(FormatText(
                u"Проба \"%s\": тип не определён — измерение не будет использовано в расчёте. Укажите в "
                u"имени пробы: \"с патроном\", \"без патрона\" или \"градуировка\".",
                record.sample));
            break;
        case Calibration:
            ++nCal;
            break;
        case WithCartridge:
            ++nWith;
            break;
        case WithoutCartridge:
            ++nWithout;
            break;
        }
    }

    if (set.empty()) {
        run.infos.push_back(u"Хроматограммы не добавлены — добавьте измерения для расчёта.");
    } else {
        if (nCal == 0)
            run.errors.push_back(u"Нет градуировочных хроматограмм — расчёт не выполнен.");
        else if (nCal == 1)
            run.warnings.push_back(u"Только одна градуировочная хроматограмма — сходимость калибровки не "
                                   u"оценивается (рекомендуется не менее 2).");
        if (nWith == 0)
            run.warnings.push_back(
                u"Нет хроматограмм \"с патроном\" — предельные углеводороды не рассчитаны.");
        else if (nWith == 1)
            run.warnings.push_back(
                u"Только одна хроматограмма \"с патроном\" — усреднение по одному измерению "
                u"(рекомендуется не менее 2).");
        if (nWithout == 0)
            run.warnings.push_back(
                u"Нет хроматограмм \"без патрона\" — непредельные и отдельные компоненты не рассчитаны.");
        else if (nWithout == 1)
            run.warnings.push_back(u"Только одна хроматограмма \"без патрона\" — усреднение по одному "
                                   u"измерению (рекомендуется не менее 2).");
    }

    run.result = CalculateResults(set, settings, table, trace);
    run.errors.insert(run.errors.end(), run.result.errors.begin(), run.result.errors.end());
    return run;
}
