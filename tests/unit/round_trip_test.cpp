// Every file the program writes reads back as the same text, in every program that reads it.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/startup.h"
#include "drawings/remembered_directory.h"
#include "frontends/cli/build_cli.h"
#include "model/plain_window_state.h"
#include "model/setup_line_ends.h"
#include "platform/ansi_codec.h"
#include "platform/file_error.h"
#include "script/build_command.h"
#include "script/script_builder.h"
#include "setup/kept_setups.h"
#include "setup/setup_commands.h"
#include "setup/setup_file.h"
#include "support/expected_script.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace inkrun {
namespace {

// Text with its line ends spelled out (\r, \n), as the probe shows it, read back.
std::string unspelled(std::string text) {
    for (const auto& [spelled, end] : {std::pair{"\\r", "\r"}, std::pair{"\\n", "\n"}})
        for (std::size_t at; (at = text.find(spelled)) != std::string::npos;) text.replace(at, 2, end);
    return text;
}

// What the rich-text editor made of each file under Wine (line_ends/rich_edit_probe.txt) is what
// a setup file reads as.
TEST(SetupFiles, LineEndsReadAsTheRichTextEditorReadsThem) {
    std::ifstream probe(INKRUN_RICH_EDIT_PROBE, std::ios::binary);
    test::TempDir dir;
    int cases = 0;
    for (std::string line; std::getline(probe, line);) {
        if (!line.starts_with("RICHEDIT50W | \"")) continue;
        // The class | "the file" | "the text" | "the bytes saved"
        const std::size_t file = line.find('"') + 1, fileEnd = line.find('"', file),
                          text = line.find('"', fileEnd + 1) + 1;
        EXPECT_EQ(setup::readSetupFile(dir.write("setup.txt", unspelled(line.substr(file, fileEnd - file)))),
                  unspelled(line.substr(text, line.find('"', text) - text)))
            << line;
        ++cases;
    }
    EXPECT_GE(cases, 10) << INKRUN_RICH_EDIT_PROBE;
}

// --- setups ----------------------------------------------------------------------------------

constexpr const char* kBeyondTheCodePage[] = {"\u03A9", "\u0107", "\u4E2D", "\U0001F600"};
constexpr const char* kLineEnds[] = {"\r\n", "\n", "\r", "\r\r\n"};

// Every character of Windows-1252 but the line ends, as UTF-8.
std::vector<std::string> codePageCharacters() {
    std::vector<std::string> characters;
    for (int byte = 0; byte < 256; ++byte)
        if (byte != '\r' && byte != '\n')
            characters.push_back(platform::decodeWindows1252(std::string(1, static_cast<char>(byte))));
    return characters;
}

struct RandomSetup {
    std::string text;     // as an editor elsewhere wrote it: any line ends
    bool beyond = false;  // it holds a character the code page cannot
    bool marked = false;  // its file is UTF-8 behind a byte-order mark
};

// The first holds every character of the code page; the others are random lines of them, some
// with characters beyond it, with every kind of line end.
std::vector<RandomSetup> randomSetups(std::size_t count) {
    const std::vector<std::string> characters = codePageCharacters();
    std::mt19937 random(20261203);
    const auto below = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    std::vector<RandomSetup> setups(1);
    for (const std::string& character : characters) setups[0].text += character;
    setups.push_back({"\xC3\xAF\xC2\xBB\xC2\xBFzoom", false, false});  // the mark's bytes, as text
    while (setups.size() < count) {
        RandomSetup setup;
        setup.beyond = below(3) == 0;
        setup.marked = setup.beyond || below(3) == 0;
        for (std::size_t line = 0, lines = below(6); line < lines; ++line) {
            for (std::size_t length = below(12); length > 0; --length)
                setup.text += characters[below(characters.size())];
            if (setup.beyond && below(2) == 0) setup.text += kBeyondTheCodePage[below(4)];
            if (line + 1 < lines || below(2) == 0) setup.text += kLineEnds[below(4)];
        }
        if (setup.beyond) setup.text += kBeyondTheCodePage[below(4)];
        setups.push_back(std::move(setup));
    }
    return setups;
}

// A setup file, however it was written, reads the same in every reader; written back by every
// writer, it reads as the same text again; and the window and inkrun-build build one script from
// it, or both refuse it.
TEST(SetupFiles, ReadWrittenAndReadAgainGiveTheSameTextAndOneScript) {
    test::TempDir dir;
    ProgramSettings settings = startupSettings(dir.mkdir("settings"));
    const std::string jobs = dir.mkdir("jobs");
    dir.write("jobs/A.dwg", "");
    dir.write("settings/DefaultFile.txt", jobs);
    const std::string kept = dir.mkdir("kept");
    for (const RandomSetup& random : randomSetups(100)) {
        const std::string bytes = random.marked ? "\xEF\xBB\xBF" + random.text
                                                : platform::encodeWindows1252(random.text);
        SCOPED_TRACE(platform::escapeControls(bytes));
        dir.write("settings/Setup1.txt", bytes);

        PlainWindowState window;
        restoreStartState(window, settings);
        setup::loadSetupSlot(window, settings, 1);
        const std::string text = window.setupText();
        EXPECT_EQ(text, setup::readSetupSlot(settings, 1, SettingsReader::Unattended)->text);
        std::string expected = random.text;
        if (!random.marked && expected.starts_with("\xC3\xAF\xC2\xBB\xC2\xBF")) expected.erase(0, 6);
        EXPECT_EQ(text, withEditorLineEnds(expected));

        // Written back by each writer, read again.
        test::ScriptedDialogs dialogs;
        const std::string saved = dir.file("saved.txt");
        std::filesystem::remove(test::pathOf(saved));
        dialogs.answer(saved);
        if (random.beyond) {
            EXPECT_THROW(setup::saveSetupAs(window, settings, dialogs), platform::FileError);
            EXPECT_FALSE(std::filesystem::exists(test::pathOf(saved)));
        } else {
            setup::saveSetupAs(window, settings, dialogs);
            EXPECT_EQ(setup::readSetupFile(saved), text);
        }
        EXPECT_EQ(setup::readSetupFile(setup::keepSetup(kept, text, {2026, 12, 3, 12, 0, 0})), text);

        // One script, whichever program builds it.
        window.selectAll();
        std::filesystem::remove(test::pathOf(jobs + test::kSep + "Inkrun.scr"));
        std::optional<std::string> fromWindow;
        try {
            script::buildInkrunScript(window, dialogs, settings);
            if (std::filesystem::exists(test::pathOf(jobs + test::kSep + "Inkrun.scr")))
                fromWindow = dir.read("jobs/Inkrun.scr");
        } catch (const script::ScriptRefused&) {
        }
        std::istringstream in;
        std::ostringstream out, err;
        const int status = cli::runBuildCli({"--all", "-o", "-"}, in, out, err, settings.scriptSettingsDirectory);
        if (random.beyond || text.empty()) {
            EXPECT_FALSE(fromWindow);
            EXPECT_EQ(status, 1) << err.str();
        } else {
            // Written; 3 when a line ends in a space or holds a tab, which the run is warned of.
            EXPECT_TRUE(status == 0 || status == 3) << err.str();
            EXPECT_EQ(out.str(), test::expectedScript(jobs, {"A.dwg"}, platform::encodeWindows1252(text)));
            EXPECT_EQ(fromWindow, out.str());
        }
    }
}

// --- DefaultFile.txt and the record of kept setups told about ---------------------------------

// Every character a folder's name may hold, remembered and read back by the window and by a run
// nobody watches; one that would come back as another path is refused before anything is written.
TEST(RememberedDirectory, ReadsBackAsTheSameDirectory) {
    test::TempDir dir;
    const ProgramSettings settings = startupSettings(dir.mkdir("settings"));
    std::vector<std::string> names(1);
    for (const std::string& character : codePageCharacters()) {
        const auto first = static_cast<unsigned char>(character[0]);
        const bool control = first < 0x20 || first == 0x7F ||
                             (first == 0xC2 && static_cast<unsigned char>(character[1]) < 0xA0);
        if (control || std::string_view("/\\:*?\"<>|").find(character) != std::string_view::npos) continue;
        if (names.back().size() > 150) names.back() += "x", names.emplace_back();  // no name ends in a dot or space
        names.back() += character;
    }
    names.back() += "x";
    for (const std::string& name : names) {
        const std::string folder = dir.mkdir(name);
        drawings::rememberDrawingDirectory(settings, folder);
        EXPECT_EQ(drawings::rememberedDrawingDirectory(settings), folder);
        EXPECT_EQ(drawings::rememberedDrawingDirectory(settings, SettingsReader::Unattended), folder);
    }
    for (const std::string& broken : {std::string("/jobs/a\nb"), std::string("/jobs/a\r"), std::string("/a\0b", 4)})
        EXPECT_THROW(drawings::rememberDrawingDirectory(settings, broken), platform::FileError);
    EXPECT_EQ(drawings::rememberedDrawingDirectory(settings), dir.file(names.back()));
}

TEST(KeptSetupsToldAbout, TheRecordReadsBackAsWritten) {
    const std::vector<setup::ToldSetup> told{
        {"Setup.unsaved.txt", 0, -1},
        {"Setup.unsaved_2026-12-03_12-00-00.txt", 18446744073709551615u, 9223372036854775807}};
    EXPECT_EQ(setup::toldSetupsIn(setup::toldRecordText(told)), told);
}

}  // namespace
}  // namespace inkrun
