// The help file's pages about the tuned values, made from the tweak catalogue
// and the plans of the two runs, so that they say what the program does and
// cannot drift from it: one page per catalogue row, and the fragments that
// the hand-written pages ask for by name.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace lumora::help {

// A fault in the generator's input, or a catalogue the pages cannot describe
// yet; the build stops with its message.
class HelpError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Hand-written commentary on the tuned values, keyed by value name: an HTML
// fragment each. Every catalogue value needs one, and each one must name a
// catalogue value.
using TweakNotes = std::map<std::string, std::string>;

// Reads the notes file: "[ValueName]" starts a value's note, the lines up to
// the next one are its HTML; lines starting with "#" before the first value
// are comments.
TweakNotes ParseTweakNotes(const std::string& text);

struct GeneratedFile {
    std::string path;  // relative to the help project's folder, with '/'
    std::string text;
};

// One page per catalogue row, "html/tweakNN.htm" with NN the row number.
std::vector<GeneratedFile> TweakPages(const TweakNotes& notes);

// What "<!--gen:NAME-->" in a hand-written file stands for, by NAME.
std::map<std::string, std::string> TweakFragments();

// The page of catalogue row |number| (counted from 1), relative to html/.
std::string TweakPageName(std::size_t number);

}  // namespace lumora::help
