#include "core/safe_write_temp.h"

#include <cstdio>
#include <random>

namespace quelna::safe_write {

bool fail(std::string* error, const std::string& why) {
    if (error)
        *error = why;
    return false;
}

// The first name tried is the fixed one earlier versions used, so a leftover is recognisable;
// the others are random, so two runs on one file never share a temporary file.
std::string tempCandidate(const std::string& target, int attempt) {
    if (attempt == 0)
        return target + ".saving";
    static std::mt19937_64 random{std::random_device{}()};
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".saving-%012llx",
                  static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
    return target + suffix;
}

} // namespace quelna::safe_write

namespace quelna::safe_write {

bool isTempName(std::string_view targetName, std::string_view name) {
    if (!name.starts_with(targetName))
        return false;
    name.remove_prefix(targetName.size());
    if (name == ".saving")
        return true;
    constexpr std::string_view kRandom = ".saving-";
    if (!name.starts_with(kRandom) || name.size() != kRandom.size() + 12)
        return false;
    name.remove_prefix(kRandom.size());
    return name.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

} // namespace quelna::safe_write
