#include "utils.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <utf8.h>

#include "log_system.h"

namespace VQ {

std::string userDataDirectory(const char* applicationName, const char* companyPath)
{
    std::string base;
    if (const char* xdg = getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') {
        base = xdg;
    } else if (const char* home = getenv("HOME"); home && home[0]) {
        base = std::string(home) + "/.local/share";
    } else {
        base = ".";
    }
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();

    std::string company = companyPath ? companyPath : DEFAULT_COMPANY_PATH;
    for (char& c : company) {
        if (c == '\\')
            c = '/';
    }
    if (company.empty() || company.front() != '/')
        company.insert(company.begin(), '/');
    if (company.back() != '/')
        company.push_back('/');

    std::string result = base + company + (applicationName ? applicationName : "");
    if (result.back() != '/')
        result.push_back('/');

    // Every level along the path, including the base itself when missing.
    for (size_t pos = 1; pos < result.size(); ++pos) {
        if (result[pos] == '/')
            mkdir(result.substr(0, pos).c_str(), 0755);
    }
    return result;
}

std::u16string utf8ToWide(const std::string& text)
{
    std::u16string out;
    if (utf8::is_valid(text.begin(), text.end())) {
        utf8::utf8to16(text.begin(), text.end(), std::back_inserter(out));
        return out;
    }
    // Text from outside (profiles, the social layer) may be broken; one line
    // per conversion keeps the log readable while still showing it happened.
    logIfPossible("WARNING: Invalid UTF-8 text replaced with U+FFFD");
    std::string valid;
    utf8::replace_invalid(text.begin(), text.end(), std::back_inserter(valid), 0xFFFD);
    utf8::utf8to16(valid.begin(), valid.end(), std::back_inserter(out));
    return out;
}

std::string wideToUtf8(const std::u16string& text)
{
    std::string out;
    bool replaced = false;
    auto it = text.begin();
    while (it != text.end()) {
        uint32_t cp = *it++;
        if (cp >= 0xD800 && cp <= 0xDBFF) {
            if (it != text.end() && *it >= 0xDC00 && *it <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (uint32_t(*it++) - 0xDC00);
            } else {
                cp = 0xFFFD;
                replaced = true;
            }
        } else if (cp >= 0xDC00 && cp <= 0xDFFF) {
            cp = 0xFFFD;
            replaced = true;
        }
        utf8::append(char32_t(cp), std::back_inserter(out));
    }
    if (replaced)
        logIfPossible("WARNING: Invalid UTF-16 text replaced with U+FFFD");
    return out;
}

bool isValidUtf8(const std::string& text)
{
    return utf8::is_valid(text.begin(), text.end());
}

}  // namespace VQ
