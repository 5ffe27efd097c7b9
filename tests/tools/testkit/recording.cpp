#include "recording.h"

#include <cctype>
#include <cstdlib>

namespace {

// Just enough JSON for the recording's fixed shape.
struct Reader {
    const std::string& text;
    size_t pos = 0;

    void skipSpace() {
        while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos]))) ++pos;
    }
    bool eat(char c) {
        skipSpace();
        if (pos < text.size() && text[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }
    bool string(std::string& out) {
        if (!eat('"')) return false;
        size_t end = text.find('"', pos);
        if (end == std::string::npos) return false;
        out = text.substr(pos, end - pos);
        pos = end + 1;
        return true;
    }
    bool number(double& out) {
        skipSpace();
        const char* start = text.c_str() + pos;
        char* end = nullptr;
        out = std::strtod(start, &end);
        if (end == start) return false;
        pos += static_cast<size_t>(end - start);
        return true;
    }
};

}  // namespace

Recording parseRecording(const std::string& json) {
    Recording recording;
    Reader in{json};
    const size_t codeKey = json.find("\"exit_code\"");
    if (codeKey != std::string::npos) {
        in.pos = codeKey + 11;
        double code = 0;
        if (in.eat(':') && in.number(code)) recording.exitCode = static_cast<int>(code);
    }
    const size_t writesKey = json.find("\"writes\"");
    if (writesKey == std::string::npos) return recording;
    in.pos = writesKey + 8;
    if (!in.eat(':') || !in.eat('[')) return recording;
    if (in.eat(']')) {
        recording.ok = true;
        return recording;
    }
    do {
        RecordedWrite write;
        std::string hex;
        if (!in.eat('[') || !in.number(write.seconds) || !in.eat(',') || !in.string(hex) || !in.eat(']')) {
            return recording;
        }
        write.bytes = fromHex(hex);
        recording.writes.push_back(write);
    } while (in.eat(','));
    recording.ok = in.eat(']');
    return recording;
}

std::string withCrLf(const std::string& bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 16);
    for (char c : bytes) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

std::string toHex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char b : bytes) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return hex;
}

std::string fromHex(const std::string& hex) {
    auto value = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return 0;
    };
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes += static_cast<char>(value(hex[i]) * 16 + value(hex[i + 1]));
    return bytes;
}
