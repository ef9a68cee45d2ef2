#pragma once

// Labels that behave as links: hand cursor, underlined and blue while the mouse is over them,
// and a click opens their target through the system.

#include <QString>
#include <functional>

class QLabel;

namespace orlenta {

// Opens a link target (a web address or a "mailto:" address).
using TLinkOpener = std::function<void(const QString& target)>;

// Turns label into a link to target. Every link label of the label's parent goes back to plain
// black when the mouse moves over another of them or over the parent itself.
void MakeLabelLink(QLabel* label, const QString& target);

// The target label links to; empty for a label that is no link.
QString LabelLinkTarget(const QLabel* label);

// Asks the system to open target in the program the user chose for it.
void OpenLink(const QString& target);

// Replaces what OpenLink does (tests) and returns the opener it replaces; an empty opener
// restores the system's.
TLinkOpener SetLinkOpener(TLinkOpener opener);

} // namespace orlenta
