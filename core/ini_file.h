#pragma once
// A reader and writer of Windows-style initialisation files, as the private-profile functions
// treat them: section and key names match without regard to ASCII case, values are trimmed,
// and writing one key keeps every other line of the file byte for byte.
#include <optional>
#include <string>
#include <string_view>

namespace quelna {

class IniFile {
  public:
    // Missing or unreadable file: an empty document.
    static IniFile load(const std::string& path);
    static IniFile parse(std::string_view bytes);

    std::optional<std::string> get(std::string_view section, std::string_view key) const;
    // Integer as the profile functions read it: leading digits with an optional sign, else def.
    int getInt(std::string_view section, std::string_view key, int def) const;
    void set(std::string_view section, std::string_view key, std::string_view value);

    const std::string& bytes() const { return text_; }
    // Writes the document (CR LF line ends) to a temporary file and renames it over path.
    [[nodiscard]] bool save(const std::string& path) const;

  private:
    std::string text_;
};

} // namespace quelna
