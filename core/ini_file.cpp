#include "core/ini_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "core/file_kind.h"
#include "core/fs_path.h"
#include "core/safe_write.h"
#include "core/text.h"

namespace quelna {

namespace {

std::string_view trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

// Lines with their own line ends, so untouched lines are written back byte for byte.
std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start + 1));
        start = end + 1;
    }
    return lines;
}

// The section name when the line is a section header.
bool sectionHeader(std::string_view line, std::string_view& name) {
    const std::string_view t = trim(line);
    if (t.size() < 2 || t.front() != '[')
        return false;
    const std::size_t close = t.find(']');
    if (close == std::string_view::npos)
        return false;
    name = trim(t.substr(1, close - 1));
    return true;
}

bool keyLine(std::string_view line, std::string_view& key, std::string_view& value) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = trim(line.substr(0, eq));
    value = trim(line.substr(eq + 1));
    return true;
}

} // namespace

IniFile IniFile::parse(std::string_view bytes) {
    IniFile f;
    f.text_ = std::string(bytes);
    return f;
}

IniFile IniFile::load(const std::string& path) {
    // A settings file that is a FIFO or a file of /proc would block the start.
    if (fileKind(path) != FileKind::Regular)
        return IniFile{};
    std::ifstream in(fsPath(path), std::ios::binary);
    if (!in)
        return IniFile{};
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return parse(buffer.str());
}

std::optional<std::string> IniFile::get(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (const std::string& line : splitLines(text_)) {
        std::string_view name;
        if (sectionHeader(line, name)) {
            inSection = sameName(name, section);
            continue;
        }
        std::string_view k, v;
        if (inSection && keyLine(line, k, v) && sameName(k, key))
            return std::string(v);
    }
    return std::nullopt;
}

int IniFile::getInt(std::string_view section, std::string_view key, int def) const {
    const auto value = get(section, key);
    if (!value)
        return def;
    return parseLeadingInt(*value);
}

void IniFile::set(std::string_view section, std::string_view key, std::string_view value) {
    std::vector<std::string> lines = splitLines(text_);
    const std::string newLine = std::string(key) + "=" + std::string(value) + "\r\n";
    int sectionLine = -1;
    int lastContent = -1; // last non-blank line of the wanted section
    bool inSection = false;
    for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
        std::string_view name;
        if (sectionHeader(lines[i], name)) {
            if (inSection)
                break;
            inSection = sameName(name, section);
            if (inSection) {
                sectionLine = i;
                lastContent = i;
            }
            continue;
        }
        if (!inSection)
            continue;
        std::string_view k, v;
        if (keyLine(lines[i], k, v) && sameName(k, key)) {
            lines[i] = newLine;
            text_.clear();
            for (const auto& l : lines)
                text_ += l;
            return;
        }
        if (!trim(lines[i]).empty())
            lastContent = i;
    }
    if (sectionLine < 0) {
        if (!text_.empty() && text_.back() != '\n')
            text_ += "\r\n";
        text_ += "[" + std::string(section) + "]\r\n" + newLine;
        return;
    }
    if (lines[lastContent].empty() || lines[lastContent].back() != '\n')
        lines[lastContent] += "\r\n";
    lines.insert(lines.begin() + lastContent + 1, newLine);
    text_.clear();
    for (const auto& l : lines)
        text_ += l;
}

bool IniFile::save(const std::string& path) const {
    return safeWriteFile(path, text_);
}

} // namespace quelna
