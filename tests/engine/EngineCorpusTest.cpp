// Every file of the corpus, good and bad, through the real engine.
#include "EngineTestSupport.h"

#include "engine/EngineResult.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <sstream>

namespace fs = std::filesystem;

namespace slidemill::test {
namespace {

struct ManifestEntry {
    std::string folder;
    std::string note;
};

std::map<std::string, ManifestEntry> ReadManifest() {
    std::map<std::string, ManifestEntry> entries;
    std::ifstream in(CorpusFolder() + "/MANIFEST.tsv");
    std::string line;
    std::getline(in, line); // header
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        std::string field;
        while (std::getline(split, field, '\t'))
            fields.push_back(field);
        if (fields.size() >= 9)
            entries[fields[0]] = {fields[1], fields[8]};
    }
    return entries;
}

// The page count the manifest recorded for LibreOffice, or -1.
int ExpectedPages(const std::string& note) {
    std::smatch match;
    if (std::regex_search(note, match, std::regex(R"(PDF: (\d+) page)")))
        return std::stoi(match[1]);
    return -1;
}

std::vector<fs::path> FilesIn(const std::string& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file())
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(EngineCorpus, EveryGoodFileConvertsToPdfWithItsPages) {
    SLIDEMILL_REQUIRE_CORPUS();
    auto& engine = SharedEngine();
    const auto manifest = ReadManifest();
    TempFolder out("good");
    int converted = 0;
    for (const auto& file : FilesIn(CorpusFolder() + "/good")) {
        SCOPED_TRACE(file.filename().string());
        const std::string target =
            out.str() + file.stem().string() + file.extension().string().substr(1) + ".pdf";
        ASSERT_EQ(ConvertFile(engine, file.string(), target), 0) << engine.LastErrorText();
        const auto entry = manifest.find(file.filename().string());
        const int expected = entry == manifest.end() ? -1 : ExpectedPages(entry->second.note);
        const int pages = PdfPageCount(target);
        if (expected > 0)
            EXPECT_EQ(pages, expected);
        else
            EXPECT_GE(pages, 1);
        ++converted;
    }
    EXPECT_GE(converted, 30);
}

TEST(EngineCorpus, EveryBadFileFailsClearlyOrConvertsWithinTheDeadline) {
    SLIDEMILL_REQUIRE_CORPUS();
    EngineOptions options = TestEngineOptions();
    options.baseDeadlineMs = 20000;
    options.perSlideDeadlineMs = 500;
    LibreOfficeComponent engine(options);
    const auto manifest = ReadManifest();
    TempFolder out("bad");
    int accounted = 0;
    std::ostringstream table;
    for (const auto& file : FilesIn(CorpusFolder() + "/bad")) {
        const std::string name = file.filename().string();
        SCOPED_TRACE(name);
        const std::string target = out.str() + name + ".pdf";
        const auto start = std::chrono::steady_clock::now();
        const int32_t result = ConvertFile(engine, file.string(), target);
        const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        table << "  " << name << ": " << result << " in " << seconds << " s"
              << (result == 0 ? "" : " - " + engine.LastErrorText()) << "\n";
        // Even the worst file ends within its deadline (and a restart).
        EXPECT_LT(seconds, 2 * (options.baseDeadlineMs / 1000.0) + 60);
        const auto entry = manifest.find(name);
        ASSERT_NE(entry, manifest.end()) << "not in the manifest";
        const bool unloadable = entry->second.note.find("could not be loaded") != std::string::npos;
        if (result == 0) {
            EXPECT_FALSE(unloadable) << "converted a file LibreOffice cannot load";
            EXPECT_GE(PdfPageCount(target), 1);
        } else {
            EXPECT_NE(result, kEngineUnavailable);
            EXPECT_FALSE(fs::exists(target)) << "a failed file left a target";
            EXPECT_NE(engine.LastErrorText().find(file.string()), std::string::npos)
                << engine.LastErrorText();
        }
        if (name.find("Password_Protected") != std::string::npos ||
            name.find("encrypted") != std::string::npos || name.find("cryptoapi") != std::string::npos) {
            EXPECT_EQ(result, kEnginePasswordProtected) << engine.LastErrorText();
        }
        ++accounted;
    }
    std::cout << "Outcome of every bad file:\n" << table.str();
    // Nothing but finished PDFs is left: no temporary names.
    for (const auto& name : FileNames(out.str()))
        EXPECT_TRUE(name.ends_with(".pdf") && name[0] != '.') << name;
    EXPECT_EQ(accounted, static_cast<int>(FilesIn(CorpusFolder() + "/bad").size()));
}

} // namespace
} // namespace slidemill::test
