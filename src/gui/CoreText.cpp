#include "gui/CoreText.h"

#include "core/base/OrlentaError.h"
#include "core/datafile/ExclusiveLock.h"
#include "core/reading/DiscReading.h"
#include "gui/WindowText.h"

#include <QCoreApplication>
#include <iterator>

namespace orlenta {

namespace {

constexpr const char* kContext = "CoreText";

// Written out, as the translation tools must read them; the checks below keep them equal to
// core's own where core names them.
constexpr const char* kSentences[] = {
    QT_TRANSLATE_NOOP("CoreText", "Error reading Orlenta datafile."),
    QT_TRANSLATE_NOOP("CoreText", "Invalid directory."),
    QT_TRANSLATE_NOOP("CoreText", "Interface not supported"),
    QT_TRANSLATE_NOOP("CoreText", "Compression failed."),
    QT_TRANSLATE_NOOP("CoreText", "Waiting for another Orlenta..."),
    QT_TRANSLATE_NOOP("CoreText", "Reading disc information..."),
    QT_TRANSLATE_NOOP("CoreText", "Made by the Orlenta project"),
    QT_TRANSLATE_NOOP("CoreText", "More freeware and updates"),
    QT_TRANSLATE_NOOP("CoreText", "Click here to download the latest version of Orlenta."),
};

static_assert(std::string_view(kSentences[0]) == kErrorReadingDataFile);
static_assert(std::string_view(kSentences[1]) == kInvalidDirectoryText);
static_assert(std::string_view(kSentences[2]) == kInterfaceNotSupported);
static_assert(std::string_view(kSentences[3]) == kCompressionFailed);
static_assert(std::string_view(kSentences[4]) == kWaitingForAnotherOrlenta);

} // namespace

QString CoreText(std::string_view text) {
    for (const char* sentence : kSentences) {
        if (text == sentence)
            return QCoreApplication::translate(kContext, sentence);
    }
    return ToQString(text);
}

} // namespace orlenta
