#include <cctype>
#include <string>
#include <string_view>

#include "os/os.h"

HelpLanguage help_language_of(const char* lc_all, const char* lc_messages, const char* lang) {
    const char* name = nullptr;
    for (const char* v : {lc_all, lc_messages, lang})
        if (v && *v) {
            name = v;
            break;
        }
    if (!name) return HelpLanguage::english;
    // language[_territory][.codeset][@modifier], or an alias such as "japanese.sjis"
    std::string_view s = name;
    if (!s.starts_with("ja")) return HelpLanguage::english;
    std::size_t dot = s.find('.');
    if (dot == std::string_view::npos) return HelpLanguage::japanese_cp932;
    // The codeset as glibc compares it: letters and digits only, in lower case.
    std::string codeset;
    for (char c : s.substr(dot + 1, s.find('@', dot) - dot - 1))
        if (std::isalnum(static_cast<unsigned char>(c)))
            codeset += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return codeset == "utf8" ? HelpLanguage::japanese_utf8 : HelpLanguage::japanese_cp932;
}
