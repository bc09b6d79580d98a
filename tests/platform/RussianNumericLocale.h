// Switches LC_NUMERIC to a Russian locale (decimal comma) while it lives, as a Qt application does
// from its environment; skips the test when the machine has no such locale.
#pragma once

#include <clocale>
#include <gtest/gtest.h>
#include <string>

class RussianNumericLocale {
public:
    RussianNumericLocale() {
        previous = std::setlocale(LC_NUMERIC, nullptr);
        for (const char* name : {"ru_RU.UTF-8", "ru_RU.utf8", "ru_RU", "Russian_Russia.1251"})
            if (std::setlocale(LC_NUMERIC, name)) {
                active = true;
                break;
            }
    }
    ~RussianNumericLocale() { std::setlocale(LC_NUMERIC, previous.c_str()); }
    bool active = false;

private:
    std::string previous;
};
