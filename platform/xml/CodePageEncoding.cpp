#include "CodePageEncoding.h"

#include "platform/text/CodePage1251.h"

#include <libxml/encoding.h>

#include <mutex>

namespace {

// Code page 1251 to UTF-8, as much as fits. The number of bytes written, as the library's own
// converters return it.
int CodePageToUtf8(unsigned char* out, int* outLength, const unsigned char* in, int* inLength) {
    if (!in) {
        *outLength = 0;
        *inLength = 0;
        return 0;
    }
    int read = 0;
    int written = 0;
    for (; read < *inLength; ++read) {
        const char16_t c = CodePage1251Character(in[read]);
        const int size = c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        if (written + size > *outLength)
            break;
        if (size == 1) {
            out[written++] = static_cast<unsigned char>(c);
        } else if (size == 2) {
            out[written++] = static_cast<unsigned char>(0xC0 | (c >> 6));
            out[written++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
            out[written++] = static_cast<unsigned char>(0xE0 | (c >> 12));
            out[written++] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            out[written++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
    }
    *outLength = written;
    *inLength = read;
    return written;
}

// UTF-8 to code page 1251, as much as fits; a sequence cut at the end of the input waits for the next
// call. A character the code page lacks stops the conversion with -2 right before it, and the library
// writes it as a character reference.
int Utf8ToCodePage(unsigned char* out, int* outLength, const unsigned char* in, int* inLength) {
    if (!in) {
        *outLength = 0;
        *inLength = 0;
        return 0;
    }
    int read = 0;
    int written = 0;
    int result = 0;
    while (read < *inLength && written < *outLength) {
        const unsigned char lead = in[read];
        const int size = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (read + size > *inLength)
            break;
        char32_t c = size == 1 ? lead : size == 2 ? lead & 0x1F : size == 3 ? lead & 0x0F : lead & 0x07;
        for (int k = 1; k < size; ++k)
            c = (c << 6) | (in[read + k] & 0x3F);
        const auto byte = c < 0x10000 ? CodePage1251Byte(static_cast<char16_t>(c)) : std::nullopt;
        if (!byte) {
            result = -2;
            break;
        }
        out[written++] = *byte;
        read += size;
    }
    *outLength = written;
    *inLength = read;
    return result == 0 ? written : result;
}

} // namespace

void EnsureCodePageEncodings() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlCharEncodingHandlerPtr found = xmlFindCharEncodingHandler("windows-1251");
        if (found) {
            xmlCharEncCloseFunc(found);
            return;
        }
        // Registered under the name documents use; the library matches names without regard to case.
        if (xmlNewCharEncodingHandler("windows-1251", CodePageToUtf8, Utf8ToCodePage))
            xmlAddEncodingAlias("windows-1251", "cp1251");
    });
}
