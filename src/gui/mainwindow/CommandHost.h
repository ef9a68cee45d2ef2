#pragma once

// What the main window's command groups ask of the window. The window implements it and hands
// itself to each group as this interface only, so that a group sees the open catalogue, the
// prompts and the few things only the window can do, and nothing else of it.

#include <exception>
#include <string>
#include <string_view>

class QWidget;

namespace orlenta {

class TCatalogueSession;
class TUserPrompts;

class ICommandHost {
public:
    virtual ~ICommandHost() = default;

    virtual TCatalogueSession& Session() = 0;
    virtual TUserPrompts& Prompts() = 0;
    // The window itself: the parent of the commands' dialogs and message boxes.
    virtual QWidget& Window() = 0;
    // The application-wide error display: the error's text in an error box, busy mode left.
    virtual void HandleException(std::exception_ptr error) = 0;

    // A new, untitled catalogue becomes the open one and is shown; nothing is asked.
    virtual void NewCatalogue() = 0;
    // Opens the data file at path (bytes as the file system takes them) as the open catalogue.
    virtual void OpenDataFile(const std::string& path) = 0;
    // The caption follows the catalogue's title.
    virtual void SetCaptionFromTitle() = 0;
    // Rebuilds the tree from the catalogue, re-selects the selected disc's node and shows it as
    // if clicked; marks the catalogue changed.
    virtual void ReadyHandler() = 0;
    // The disc panel shows no disc.
    virtual void ClearDiscPanel() = 0;
    virtual void CollapseTree() = 0;
    // Selects, expands and shows the node of the directory with this ID as a search hit does,
    // and shows it as if clicked; nothing when no node carries the ID.
    virtual void SelectSearchHit(std::string_view id) = 0;
};

} // namespace orlenta
