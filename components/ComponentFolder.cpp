#include "ComponentTable.h"

#include "platform/system/Environment.h"

std::u16string ComponentFolder() {
    // The value of PUBLIC is used whole, whatever its length: cutting it to a fixed buffer would name
    // another folder, and treating it as unset would move the table to the root folder. A path too long
    // for the system then makes Load and Save fail with their messages, naming the whole path.
    const std::optional<std::u16string> publicFolder = GetEnvironmentText("PUBLIC");
    if (!publicFolder)
        return {};
    return *publicFolder + u"/Documents" + u"/Veltra4/atmocalc/files";
}

std::u16string ComponentTablePath() {
    return ComponentFolder() + u"/" + u"CompsTable.csv";
}
