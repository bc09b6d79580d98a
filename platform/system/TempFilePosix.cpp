#include "TempFile.h"

#include "platform/system/Environment.h"
#include "platform/text/Format.h"
#include "platform/text/Utf.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <unistd.h>

std::u16string TempFolder() {
    std::u16string folder = GetEnvironmentText("TMPDIR").value_or(u"");
    if (folder.empty())
        folder = u"/tmp";
    if (folder.back() != u'/')
        folder += u'/';
    return folder;
}

int CreateTempFile(std::u16string_view folder, std::u16string_view prefix, std::u16string* path) {
    // The numbers 1..FFFF are tried from an unpredictable start, so that another user of a shared folder
    // cannot guess the next name and put a link there first; O_EXCL | O_NOFOLLOW refuse such a link anyway.
    const unsigned start = std::random_device{}() % 0xFFFF;
    std::u16string base(folder);
    if (!base.empty() && base.back() != u'/')
        base += u'/';
    base += prefix;
    for (unsigned i = 0; i < 0xFFFF; ++i) {
        const unsigned number = (start + i) % 0xFFFF + 1;
        std::u16string candidate = base + FormatText(u"%X.TMP", number);
        const int fd =
            open(Utf16ToUtf8(candidate).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            close(fd);
            *path = std::move(candidate);
            return 0;
        }
        if (errno != EEXIST)
            return errno;
    }
    return EEXIST;
}
