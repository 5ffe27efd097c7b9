// sites_step_bench [entries] [runs] [keep folder]
// Times the supported-sites step on a generated list of site names: the whole step (median of the
// runs, Notepad start included, the Notepad it opens closed again untimed), and its pieces through
// the functions the step uses. With a keep folder, the list goes there as list.txt and the step's
// sorted list as sorted.txt, for a comparison with another sort of the same lines.
// Prints "RUN sites_step.<entries> <ms>" per run and "RESULT <figure> <ms>" per figure (medians).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "list_file.h"
#include "process_find.h"
#include "settings.h"
#include "sites_entries.h"
#include "sites_step.h"
#include "stats.h"
#include "temp_dir.h"
#include "text_rules.h"
#include "window_find.h"

namespace {

// Names shaped like a downloader's extractor list: "name", "name:part", "Name", "site.tld:part".
std::string generateList(size_t count) {
    static const char* const stems[] = {"video", "tube", "stream", "clip", "media", "news", "radio", "tv", "play",
                                        "film", "music", "live", "cast", "show", "sport", "kids", "arte", "nova"};
    static const char* const tails[] = {"", "", "", ".com", ".tv", ".de", ".fr", ".co.uk", ".net", ".ru"};
    static const char* const parts[] = {"", "", "", ":playlist", ":channel", ":user", ":live", ":album", ":search",
                                        ":episode"};
    std::mt19937 random(12345);
    std::string list;
    list.reserve(count * 24);
    for (size_t i = 0; i < count; ++i) {
        std::string name = stems[random() % 18];
        name += stems[random() % 18];
        if (random() % 4 == 0) name[0] = char(name[0] - 'a' + 'A');
        if (random() % 3 == 0) name += std::to_string(random() % 1000);
        name += tails[random() % 10];
        name += parts[random() % 10];
        list += name;
        list += "\r\n";
    }
    return list;
}

double elapsedMs(LARGE_INTEGER from, LARGE_INTEGER to) {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    return double(to.QuadPart - from.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

LARGE_INTEGER now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t;
}

bool writeList(const std::wstring& path, const std::string& bytes) {
    UniqueHandle file = openListForWriting(path);
    return file && writeAllBytes(file.get(), bytes);
}

struct Pieces {
    double read, decode, split, sort, encode, write;
};

// The step's own sequence, one piece at a time.
Pieces timePieces(const std::wstring& listPath, const std::wstring& sortedPath) {
    Pieces p{};
    LARGE_INTEGER t0 = now();
    std::string bytes;
    {
        UniqueHandle source = openListForReading(listPath);
        readAllBytes(source.get(), bytes);
    }
    LARGE_INTEGER t1 = now();
    std::wstring text = decodeListBytes(bytes.data(), bytes.size());
    LARGE_INTEGER t2 = now();
    SiteEntries entries(std::move(text));
    LARGE_INTEGER t3 = now();
    entries.sort();
    LARGE_INTEGER t4 = now();
    const std::string out = entries.listBytes();
    LARGE_INTEGER t5 = now();
    {
        UniqueHandle sorted = openListForWriting(sortedPath);
        writeAllBytes(sorted.get(), out);
    }
    LARGE_INTEGER t6 = now();
    p.read = elapsedMs(t0, t1);
    p.decode = elapsedMs(t1, t2);
    p.split = elapsedMs(t2, t3);
    p.sort = elapsedMs(t3, t4);
    p.encode = elapsedMs(t4, t5);
    p.write = elapsedMs(t5, t6);
    return p;
}

void closeNotepadsOf(const std::wstring& folder) {
    for (DWORD id : findProcesses(L"notepad.exe", folder + L"\\")) {
        closeWindowAndWait(waitForTopWindow(id, 20000), id, 20000);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const size_t count = argc > 1 ? size_t(_wtoi64(argv[1])) : 1000000;
    const int runs = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
    const std::wstring keep = argc > 3 ? argv[3] : L"";

    const TempDir dir(L"sites_bench");
    const std::wstring& folder = dir.path();
    const std::wstring listPath = sitesListPathIn(folder);
    const std::wstring sortedPath = dir.file(L"Out.txt");
    const std::string list = generateList(count);
    std::fprintf(stderr, "sites step: %zu entries, %zu bytes, %d runs\n", count, list.size(), runs);
    if (!keep.empty() && !writeFileBytes(keep + L"\\list.txt", list)) {
        std::fprintf(stderr, "cannot keep the list\n");
        return 1;
    }

    std::vector<double> whole;
    std::vector<Pieces> pieces;
    int status = 0;
    for (int run = 0; run < runs && status == 0; ++run) {
        if (!writeList(listPath, list)) {
            std::fprintf(stderr, "cannot write the list\n");
            status = 1;
            break;
        }
        pieces.push_back(timePieces(listPath, sortedPath));

        const LARGE_INTEGER start = now();
        if (sortSupportedSites(folder, listPath) != 0) status = 1;
        whole.push_back(elapsedMs(start, now()));
        std::printf("RUN sites_step.%zu %.1f\n", count, whole.back());
        std::fflush(stdout);
        closeNotepadsOf(folder);  // above 50 entries the step opens the list in Notepad
    }
    // Above 50 entries the step has put the sorted text back into the list file.
    if (status == 0 && !keep.empty() && !copyFileTo(listPath, keep + L"\\sorted.txt")) status = 1;
    if (status != 0 || whole.empty()) return 1;

    auto pieceMedian = [&](double Pieces::*field) {
        std::vector<double> values;
        for (const Pieces& p : pieces) values.push_back(p.*field);
        return median(values);
    };
    std::printf("RESULT sites_step.%zu %.1f\n", count, median(whole));
    const struct {
        const char* name;
        double Pieces::*field;
    } named[] = {{"read", &Pieces::read},     {"decode", &Pieces::decode}, {"split", &Pieces::split},
                 {"sort", &Pieces::sort},     {"encode", &Pieces::encode}, {"write", &Pieces::write}};
    for (const auto& piece : named) {
        std::printf("RESULT sites_piece.%s.%zu %.1f\n", piece.name, count, pieceMedian(piece.field));
    }
    return 0;
}
