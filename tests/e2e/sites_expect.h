#pragma once
// What the supported-sites step should make of a list, worked out independently on the bytes.
#include <algorithm>
#include <string>
#include <vector>

inline std::string crlfText(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return text;
}

// Lines of a text-mode file or stream: cut at CR LF, a lone CR kept, no line after a last CR LF.
inline std::vector<std::string> crlfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) end = bytes.size();
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// What the step should make of list bytes, worked out on the bytes: lines end at CR LF,
// a lone CR belongs to its line, and the lines go in stable byte order.
inline std::string sortedCrlf(const std::string& bytes) {
    std::vector<std::string> lines = crlfLines(bytes);
    std::stable_sort(lines.begin(), lines.end());  // std::string compares bytes as unsigned
    return crlfText(lines);
}

// Site names out of order, upper and lower case mixed, a few of them the same.
inline std::vector<std::string> siteLines(size_t count) {
    static const char* const names[] = {"vimeo", "Vimeo:album", "bandcamp", "BBC", "arte.tv", "abc.net.au", "Zype",
                                        "zdf", "generic", "9gag", "youtube:tab", "YouTube", "bbc.co.uk"};
    std::vector<std::string> lines;
    for (size_t i = 0; i < count; ++i) {
        lines.push_back(names[(i * 7) % 13] + (i % 3 ? std::string() : ":" + std::to_string(i % 5)));
    }
    return lines;
}
