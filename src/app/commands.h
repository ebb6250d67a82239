#pragma once
// The main window's commands: the toolbar buttons and the menu, written once
// as data. Both mostly switch the tab strip or hand over to another window.

#include <array>

enum class Command {
    None, // separators
    ShowTab0,
    ShowTab1,
    ShowTab2,
    ShowTab3,
    ShowTab4,
    ShowTab5,
    PrintPictures,
    PrintPreview,
    ChoosePrinter,
    Tonwerk,
    HelpContents,
    Website,
    CheckForUpdates,
    About,
    Exit,
};

// The tab a ShowTab command shows.
constexpr int tabOf(Command command) {
    return int(command) - int(Command::ShowTab0);
}

struct ToolbarButton {
    int number;          // 1 … 10
    const char* toolTip; // null: the tool tip of the package on the tab it shows
    Command command;
};

inline constexpr std::array<ToolbarButton, 10> ToolbarButtons = {{
    {1, nullptr, Command::ShowTab0},
    {2, nullptr, Command::ShowTab1},
    {3, nullptr, Command::ShowTab2},
    {4, nullptr, Command::ShowTab3},
    {5, nullptr, Command::ShowTab4},
    {6, "Scan Pictures", Command::ShowTab5},
    {7, "Print Single Picture", Command::PrintPictures},
    {8, "Tonwerk", Command::Tonwerk},
    {9, "Help", Command::HelpContents},
    {10, "Visit Website", Command::Website},
}};

// Button 7's tool tip follows the package check boxes.
inline constexpr const char* PrintPackagesTip = "Print Selected Packages";
inline constexpr const char* PrintSingleTip = "Print Single Picture";

struct MenuItem {
    const char* menu;    // control name of the menu it belongs to
    const char* control; // the item's control name
    const char* caption; // "-" is a separator; null: "&" and the caption of the
                         // package on the tab it shows
    Command command;
};

struct Menu {
    const char* control;
    const char* caption;
};

inline constexpr std::array<Menu, 4> Menus = {{
    {"file", "&File"},
    {"packages", "&Packages"},
    {"utilities", "&Utilities"},
    {"help", "&Help"},
}};

inline constexpr std::array<MenuItem, 21> MenuItems = {{
    {"file", "printpreview", "Print Pre&view", Command::PrintPreview},
    {"file", "blankerfile", "-", Command::None},
    {"file", "exit", "E&xit", Command::Exit},
    {"packages", "eightbyten", nullptr, Command::ShowTab0},
    {"packages", "fivebyseven", nullptr, Command::ShowTab1},
    {"packages", "fourbysix", nullptr, Command::ShowTab2},
    {"packages", "threebyfive", nullptr, Command::ShowTab3},
    {"packages", "twobythree", nullptr, Command::ShowTab4},
    {"packages", "blanker", "-", Command::None},
    {"packages", "scan", "&Scan", Command::ShowTab5},
    {"utilities", "printpictures", "P&rint Pictures", Command::PrintPictures},
    {"utilities", "chooseprinter", "&Choose Printer...", Command::ChoosePrinter},
    {"utilities", "blankers", "-", Command::None},
    {"utilities", "tonwerk", "T&onwerk", Command::Tonwerk},
    {"help", "contents", "&Contents", Command::HelpContents},
    {"help", "blankline", "-", Command::None},
    {"help", "website", "&Quenwick Website", Command::Website},
    {"help", "ss", "-", Command::None},
    {"help", "checkforupdates", "Check For &Updates", Command::CheckForUpdates},
    {"help", "ss1", "-", Command::None},
    {"help", "About", "&About", Command::About},
}};

// The message for commands that need a selected preview.
inline constexpr const char* SelectPictureMessage =
    "Please select a picture by clicking on it and try again!";
