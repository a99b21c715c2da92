// Builds the help project that chmcmd compiles into Lumora.chm: copies the
// hand-written files, fills in the parts they take from the tweak catalogue
// ("<!--gen:NAME-->"), and adds one page per tuned value.
//   helpgen <hand-written help folder> <output folder>
// The output folder is emptied first; it holds nothing else.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/MainFormRules.h"
#include "docs/helpgen/TweakPages.h"

namespace fs = std::filesystem;
using lumora::help::HelpError;

namespace {

const char* const kNotesFile = "TweakNotes.txt";
const char* const kMarkerStart = "<!--gen:";
const char* const kMarkerEnd = "-->";

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw HelpError("cannot read " + path.string());
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out) {
        throw HelpError("cannot write " + path.string());
    }
}

bool IsTemplate(const fs::path& path) {
    const std::string extension = path.extension().string();
    return extension == ".htm" || extension == ".hhc" || extension == ".hhk" || extension == ".hhp";
}

// Replaces every marker by its fragment; a marker nobody fills is an error.
std::string Filled(const std::string& text, const std::map<std::string, std::string>& fragments,
                   const std::string& file) {
    std::string out;
    std::size_t from = 0;
    for (;;) {
        const std::size_t start = text.find(kMarkerStart, from);
        if (start == std::string::npos) {
            return out + text.substr(from);
        }
        const std::size_t nameStart = start + std::string(kMarkerStart).size();
        const std::size_t end = text.find(kMarkerEnd, nameStart);
        if (end == std::string::npos) {
            throw HelpError(file + ": unfinished " + kMarkerStart);
        }
        const std::string name = text.substr(nameStart, end - nameStart);
        const auto fragment = fragments.find(name);
        if (fragment == fragments.end()) {
            throw HelpError(file + ": nothing fills " + kMarkerStart + name + kMarkerEnd);
        }
        out += text.substr(from, start - from) + fragment->second;
        from = end + std::string(kMarkerEnd).size();
    }
}

void Generate(const fs::path& source, const fs::path& output) {
    const auto notes = lumora::help::ParseTweakNotes(ReadFile(source / kNotesFile));
    const auto pages = lumora::help::TweakPages(notes);
    auto fragments = lumora::help::TweakFragments();

    std::vector<fs::path> handWritten;
    for (const auto& entry : fs::recursive_directory_iterator(source)) {
        if (entry.is_regular_file() && entry.path().filename() != kNotesFile) {
            handWritten.push_back(fs::relative(entry.path(), source));
        }
    }
    // Every file of the help's html/ folder goes into the project's [FILES].
    std::vector<std::string> files;
    for (const auto& path : handWritten) {
        if (*path.begin() == "html") {
            files.push_back(path.generic_string());
        }
    }
    for (const auto& page : pages) {
        files.push_back(page.path);
    }
    std::sort(files.begin(), files.end());
    std::string fileList;
    for (const auto& file : files) {
        fileList += file + "\n";
    }
    fragments["files"] = fileList;
    fragments["update-days"] = std::to_string(lumora::kUpdateCheckDays);

    fs::remove_all(output);
    fs::create_directories(output);
    for (const auto& path : handWritten) {
        const std::string text = ReadFile(source / path);
        WriteFile(output / path,
                  IsTemplate(path) ? Filled(text, fragments, path.generic_string()) : text);
    }
    for (const auto& page : pages) {
        WriteFile(output / page.path, page.text);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: helpgen <hand-written help folder> <output folder>\n";
        return 2;
    }
    try {
        Generate(argv[1], argv[2]);
    } catch (const std::exception& fault) {
        std::cerr << "helpgen: " << fault.what() << "\n";
        return 1;
    }
    return 0;
}
