#include "core/text.h"

#include <array>
#include <climits>

namespace quelna {

namespace {

// Bytes 0x80..0xBF of the code page; 0xC0..0xFF are U+0410..U+044F in order.
constexpr std::array<char32_t, 64> kHighTable = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

char32_t decodeByte(unsigned char b) {
    if (b < 0x80)
        return b;
    if (b >= 0xC0)
        return 0x0410 + (b - 0xC0);
    return kHighTable[b - 0x80];
}

// Returns the CP1251 byte of a code point, or -1.
int encodeCodePoint(char32_t c) {
    if (c < 0x80)
        return static_cast<int>(c);
    if (c >= 0x0410 && c <= 0x044F)
        return static_cast<int>(0xC0 + (c - 0x0410));
    if (c == 0xFFFD)
        return -1;
    for (int i = 0; i < 64; ++i)
        if (kHighTable[i] == c)
            return 0x80 + i;
    return -1;
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string cp1251ToUtf8(std::string_view cp1251) {
    std::string out;
    out.reserve(cp1251.size() * 2);
    for (char ch : cp1251)
        appendUtf8(out, decodeByte(static_cast<unsigned char>(ch)));
    return out;
}

bool isCp1251Representable(char32_t codePoint) {
    return encodeCodePoint(codePoint) >= 0;
}

bool isValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        int length = 1;
        char32_t c = b;
        char32_t smallest = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2, c = b & 0x1F, smallest = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3, c = b & 0x0F, smallest = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4, c = b & 0x07, smallest = 0x10000;
        } else if (b >= 0x80) {
            return false;
        }
        if (i + length > bytes.size())
            return false;
        for (int k = 1; k < length; ++k) {
            const auto cont = static_cast<unsigned char>(bytes[i + k]);
            if ((cont & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (cont & 0x3F);
        }
        if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        i += length;
    }
    return true;
}

std::string utf8ToCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        int length = 0;
        char32_t c = 0;
        if (b < 0x80) {
            length = 1;
            c = b;
        } else if ((b & 0xE0) == 0xC0) {
            length = 2;
            c = b & 0x1F;
        } else if ((b & 0xF0) == 0xE0) {
            length = 3;
            c = b & 0x0F;
        } else if ((b & 0xF8) == 0xF0) {
            length = 4;
            c = b & 0x07;
        }
        bool valid = length > 0 && i + length <= utf8.size();
        for (int k = 1; valid && k < length; ++k) {
            const auto cont = static_cast<unsigned char>(utf8[i + k]);
            if ((cont & 0xC0) != 0x80)
                valid = false;
            else
                c = (c << 6) | (cont & 0x3F);
        }
        if (!valid) {
            out += '?';
            ++i;
            continue;
        }
        const int encoded = encodeCodePoint(c);
        out += encoded >= 0 ? static_cast<char>(encoded) : '?';
        i += length;
    }
    return out;
}

std::string sanitizeName(std::string_view cp1251) {
    std::string out;
    out.reserve(kMaxNameLength);
    for (char ch : cp1251) {
        if (static_cast<int>(out.size()) >= kMaxNameLength)
            break;
        const auto b = static_cast<unsigned char>(ch);
        if (ch == ';')
            out += ',';
        else if (b < 0x20 || b == 0x7F)
            out += ' ';
        else
            out += ch;
    }
    return out;
}

int parseLeadingInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        value = INT_MAX;
    if (value < INT_MIN)
        value = INT_MIN;
    return static_cast<int>(value);
}

} // namespace quelna
