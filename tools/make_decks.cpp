// slidemill_make_decks OUTDIR COUNT MINSLIDES MAXSLIDES [SEED]
// Writes COUNT flat OpenDocument presentations deck001.fodp ... into OUTDIR (created if
// missing), and decks.tsv listing each file with its slide count. The same seed always gives
// the same files; existing decks of the same names are replaced.
#include "tools/DeckGenerator.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace {

template <typename T> bool ParseNumber(const char* text, T& value) {
    const std::string s(text);
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    return error == std::errc() && end == s.data() + s.size();
}

bool WriteFile(const std::filesystem::path& path, const std::string& contents) {
    // Written beside the target and renamed, so an interrupted run leaves no half deck behind.
    const std::filesystem::path temporary = path.string() + ".part";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out.write(contents.data(), static_cast<std::streamsize>(contents.size())) || !out.flush())
            return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    return !error;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: slidemill_make_decks OUTDIR COUNT MINSLIDES MAXSLIDES [SEED]\n"
                 "  COUNT 1..10000, 1 <= MINSLIDES <= MAXSLIDES <= 1000, SEED a whole number (default 1)\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6)
        return Usage();
    int32_t count = 0, minSlides = 0, maxSlides = 0;
    uint64_t seed = 1;
    if (!ParseNumber(argv[2], count) || !ParseNumber(argv[3], minSlides) ||
        !ParseNumber(argv[4], maxSlides) || (argc == 6 && !ParseNumber(argv[5], seed)))
        return Usage();
    if (count < 1 || count > 10000 || minSlides < 1 || maxSlides < minSlides || maxSlides > 1000)
        return Usage();

    const std::filesystem::path folder(argv[1]);
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "cannot create %s: %s\n", folder.c_str(), error.message().c_str());
        return 1;
    }
    std::string manifest;
    for (const auto& plan : slidemill::tools::PlanDecks(count, minSlides, maxSlides, seed)) {
        const auto deck = slidemill::tools::MakeDeck(plan);
        if (!WriteFile(folder / plan.name, slidemill::tools::WriteFlatOdp(deck))) {
            std::fprintf(stderr, "cannot write %s\n", (folder / plan.name).c_str());
            return 1;
        }
        manifest += plan.name + "\t" + std::to_string(plan.slides) + "\n";
    }
    if (!WriteFile(folder / "decks.tsv", manifest)) {
        std::fprintf(stderr, "cannot write %s\n", (folder / "decks.tsv").c_str());
        return 1;
    }
    std::fputs(manifest.c_str(), stdout);
    return 0;
}
