#include "CodePage1251Encoding.h"

#include "platform/text/CodePage1251.h"

#include <libxml/encoding.h>

#include <array>
#include <mutex>
#include <string>

namespace {

// Each byte's character (all in the Basic Multilingual Plane), and back.
struct Tables {
    std::array<char16_t, 256> toUnicode{};
    std::array<unsigned char, 65536> fromUnicode{};
    std::array<bool, 65536> mapped{};

    Tables() {
        std::string bytes(256, '\0');
        for (int b = 0; b < 256; ++b)
            bytes[b] = static_cast<char>(b);
        const std::u16string characters = CodePage1251ToUtf16(bytes);
        for (int b = 0; b < 256; ++b) {
            toUnicode[b] = characters[b];
            fromUnicode[characters[b]] = static_cast<unsigned char>(b);
            mapped[characters[b]] = true;
        }
    }
};

const Tables& TheTables() {
    static const Tables tables;
    return tables;
}

// libxml2's input converter: code page 1251 to UTF-8. Returns the bytes written; *inLength and
// *outLength say how much was read and written.
int ToUtf8(unsigned char* out, int* outLength, const unsigned char* in, int* inLength) {
    const Tables& tables = TheTables();
    int read = 0, written = 0;
    while (read < *inLength) {
        const char16_t c = tables.toUnicode[in[read]];
        const int size = c < 0x80 ? 1 : c < 0x800 ? 2 : 3;
        if (written + size > *outLength)
            break;
        if (size == 1) {
            out[written] = static_cast<unsigned char>(c);
        } else if (size == 2) {
            out[written] = static_cast<unsigned char>(0xC0 | (c >> 6));
            out[written + 1] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        } else {
            out[written] = static_cast<unsigned char>(0xE0 | (c >> 12));
            out[written + 1] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
            out[written + 2] = static_cast<unsigned char>(0x80 | (c & 0x3F));
        }
        written += size;
        ++read;
    }
    *inLength = read;
    *outLength = written;
    return written;
}

// libxml2's output converter: UTF-8 to code page 1251. A character the code page lacks returns -2 with
// *inLength at that character, and the library writes it as a character reference.
int FromUtf8(unsigned char* out, int* outLength, const unsigned char* in, int* inLength) {
    const Tables& tables = TheTables();
    int read = 0, written = 0;
    while (read < *inLength && written < *outLength) {
        const unsigned char lead = in[read];
        const int size = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        if (read + size > *inLength)
            break; // the rest of the character comes with the next piece
        char32_t c = size == 1 ? lead : size == 2 ? lead & 0x1F : size == 3 ? lead & 0x0F : lead & 0x07;
        for (int i = 1; i < size; ++i)
            c = (c << 6) | (in[read + i] & 0x3F);
        if (c > 0xFFFF || !tables.mapped[c]) {
            *inLength = read;
            *outLength = written;
            return -2;
        }
        out[written++] = tables.fromUnicode[c];
        read += size;
    }
    *inLength = read;
    *outLength = written;
    return written;
}

} // namespace

void RegisterCodePage1251Encoding() {
    static std::once_flag registered;
    std::call_once(registered, [] { xmlNewCharEncodingHandler("windows-1251", ToUtf8, FromUtf8); });
}
