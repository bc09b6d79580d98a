// The numbered lines in which a calculation run's messages are shown, on the messages page and by
// the command-line tool alike.
#pragma once

#include <string>
#include <vector>

// "Ошибки:", "Предупреждения:" and "Информация:" each over its messages as "    %d. %s", numbered from
// 1 across all three groups; a group without messages gives no lines at all.
std::vector<std::u16string> MessageLines(const std::vector<std::u16string>& errors,
                                         const std::vector<std::u16string>& warnings,
                                         const std::vector<std::u16string>& infos);
