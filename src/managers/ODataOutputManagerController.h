// The headless side of the data output manager (OView_DeviceDataIOManager): the drop-down
// list of the actual check program's data outputs and its status text, the kinds offered by
// "add", copy and paste with free packet identifiers and names, delete, move up and down,
// the selected output's pages and applying them, each change with its undo step. The Qt
// view draws what this returns and forwards the user's actions.
#pragma once

#include <string>
#include <vector>

#include "model/tools/OPropertyList.h"
#include "platform/CommandState.h"

class ODoc;
class OType_DeviceDataIO;
class OType_ZRPartSet;

namespace DataOutputCommand {
inline constexpr int kAdd = 33075;
inline constexpr int kPrevious = 33076;
inline constexpr int kNext = 33077;
inline constexpr int kSelect = 33079;  // the drop-down list
inline constexpr int kCopy = 57634;
inline constexpr int kPaste = 57637;
inline constexpr int kDelete = 32899;
inline constexpr int kMoveUp = 32901;
inline constexpr int kMoveDown = 32902;
inline constexpr int kUndo = 57643;
inline constexpr int kRedo = 57644;
inline constexpr int kApply = 35115;
inline constexpr int kScreenshotToClipboard = 32830;
inline constexpr int kScreenshotToFile = 32829;
inline constexpr int kViewCommand = 33074;     // the data output view, for undo steps
inline constexpr int kClipboardFormat = 5349;  // string id of the format name
}  // namespace DataOutputCommand

namespace DataOutputText {
// "%d. %s (\"%s\")", "%d. %s (%d)" or "%d. %s" (numbered from 1).
std::string EntryText(const OType_DeviceDataIO& output, int number);
// " %s: %s (%s: \"%s\")", " %s: %s (%s: %d)" or " %s: %s (%s)": label, name, kind and the
// packet name or identifier.
std::string StatusText(const OType_DeviceDataIO& output);
}  // namespace DataOutputText

// A kind the add dialog offers.
struct ODataOutputOffer {
    int kind = 0;
    std::string text;  // the kind's name, with the note when it is at its maximum
    bool atMaximum = false;
};

class ODataOutputManagerController {
  public:
    explicit ODataOutputManagerController(ODoc& doc);

    OType_ZRPartSet* PartSet() const;
    // The selected data output; nullptr when none.
    OType_DeviceDataIO* Selected() const;
    std::vector<std::string> Entries() const;
    int iSelectedEntry() const;
    std::string StatusText() const;
    OPropertyContext Context() const;
    OPropertyList DescribeProperties() const;

    // 33079: makes the chosen data output the selected one and updates all views.
    void SelectEntry(int index);
    // The kinds available for the device, in the order the list registers them.
    std::vector<ODataOutputOffer> Offers() const;
    // 33075: the list dialog; the chosen kind is added after the selected output. False
    // when nothing was added (cancelled, or the kind is at its maximum: the note is shown).
    bool bAdd();
    bool bCopy();
    // A data output from the clipboard, inserted after the selected one with a free packet
    // identifier and name; anything unreadable changes nothing.
    bool bPaste();
    bool bDelete();
    bool bMoveUp();
    bool bMoveDown();
    // 35115: applies the values to the selected output; a refused value applies nothing
    // (`error` says why). A change stores one undo step.
    bool bApply(const OPropertyValues& values, std::string& error);

    OCommandState GetCommandState(int id) const;
    // False when `id` is not one of the manager's own commands.
    bool bExecute(int id);

  private:
    bool bMove(int direction);
    void Changed(const char* undoText);

    ODoc& m_doc;
};
