#pragma once

// Core speaks English: its messages, status texts and errors are built there and travel as plain
// text. The window shows the fixed sentences among them in the user's language, looked up here
// by their exact English wording; a text with a file name, a count or a system reason in it stays
// as core wrote it.

#include <QString>
#include <string_view>

namespace orlenta {

// text in the user's language when it is one of core's fixed sentences, otherwise unchanged.
QString CoreText(std::string_view text);

} // namespace orlenta
