#include "recording.h"

#include <nlohmann/json.hpp>

#include "paths.h"

Recording parseRecording(const std::string& json) {
    Recording recording;
    const nlohmann::json doc = nlohmann::json::parse(json, nullptr, /*allow_exceptions=*/false);
    if (!doc.is_object()) return recording;  // also what a parse error gives
    const auto writes = doc.find("writes");
    if (writes == doc.end() || !writes->is_array()) return recording;
    for (const nlohmann::json& write : *writes) {
        if (!write.is_array() || write.size() != 2 || !write[0].is_number() || !write[1].is_string()) return recording;
        recording.writes.push_back(RecordedWrite{write[0].get<double>(), fromHex(write[1].get<std::string>())});
    }
    recording.ok = true;
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

std::string windowsPrinted(const std::string& utf8) { return withCrLf(toAnsi(fromUtf8(utf8))); }

std::vector<std::wstring> relayedLinesOf(const std::vector<std::string>& reads) {
    std::vector<std::wstring> lines;
    for (const std::string& read : reads) {
        const std::wstring text = fromAnsi(read.substr(0, read.find('\0')));
        const size_t first = lines.size();
        size_t from = 0;
        for (size_t end; (end = text.find(L'\n', from)) != std::wstring::npos; from = end + 1) {
            lines.push_back(text.substr(from, end - from));
        }
        if (from < text.size() || lines.size() == first) lines.push_back(text.substr(from));
    }
    return lines;
}

RelayedRecording relayedFor(const Recording& recording) {
    RelayedRecording relayed;
    std::vector<std::string> reads;
    std::string piped;
    for (const RecordedWrite& w : recording.writes) piped += reads.emplace_back(withCrLf(w.bytes));
    relayed.lines = relayedLinesOf(reads);
    // The relay's echo goes through a text-mode stream, which makes each LF a CR LF once more.
    relayed.echo = withCrLf(piped);
    return relayed;
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
