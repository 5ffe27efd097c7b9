#include "recording.h"

#include <windows.h>

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

namespace {

// How many bytes at the end of `text` begin a character of the ANSI code page that the text does
// not finish: by the system's own lead-byte test, or by UTF-8's rules.
size_t unfinishedTail(const std::string& text) {
    const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    size_t at = 0;
    if (GetACP() != CP_UTF8) {
        while (at < text.size()) at += IsDBCSLeadByte(byte(at)) ? 2 : 1;
        return at - text.size();
    }
    size_t lead = text.size();  // one past the last byte that is no continuation byte (10xxxxxx)
    while (lead > 0 && (byte(lead - 1) & 0xC0) == 0x80) --lead;
    const unsigned char b = lead > 0 ? byte(lead - 1) : 0;
    const size_t announced = b >= 0xF0 && b <= 0xF4 ? 3 : b >= 0xE0 && b <= 0xEF ? 2 : b >= 0xC2 && b <= 0xDF ? 1 : 0;
    return text.size() - lead < announced ? text.size() - lead + 1 : 0;
}

}  // namespace

size_t ExpectedLines::read(const std::string& bytes, std::vector<std::wstring>& lines) {
    const size_t nul = bytes.find('\0'), first = lines.size();
    std::string text = held_ + bytes.substr(0, nul);
    held_ = text.substr(text.size() - (nul == std::string::npos ? unfinishedTail(text) : 0));
    text.resize(text.size() - held_.size());
    if (!held_.empty() && text.empty()) return 0;
    const std::wstring wide = fromAnsi(text);
    size_t from = 0;
    for (size_t end; (end = wide.find(L'\n', from)) != std::wstring::npos; from = end + 1) {
        lines.push_back(wide.substr(from, end - from));
    }
    if (from < wide.size() || lines.size() == first) lines.push_back(wide.substr(from));
    return lines.size() - first;
}

void ExpectedLines::end(std::vector<std::wstring>& lines) {
    if (!held_.empty()) lines.push_back(fromAnsi(held_));
    held_.clear();
}

std::vector<std::wstring> relayedLinesOf(const std::vector<std::string>& reads) {
    ExpectedLines expected;
    std::vector<std::wstring> lines;
    for (const std::string& read : reads) expected.read(read, lines);
    expected.end(lines);
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
