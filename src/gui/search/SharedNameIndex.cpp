#include "gui/search/SharedNameIndex.h"

#include <QTimer>

namespace orlenta {

TSharedNameIndex::TSharedNameIndex(QObject* parent) : QObject(parent) {
    FSliceTimer = new QTimer(this);
    FSliceTimer->setInterval(0);
    connect(FSliceTimer, &QTimer::timeout, this, &TSharedNameIndex::BuildSlice);
}

TSharedNameIndex::~TSharedNameIndex() = default;

void TSharedNameIndex::Follow(const IXMLOrlentaDataType& root) {
    FRoot = root;
    FIndex.reset();
    FBuilder.reset();
    FSliceTimer->stop();
    // The slices start once events have run: the other views told of the change call this too.
    if (FEverAsked)
        Request();
}

void TSharedNameIndex::SetBusy(bool busy) {
    FBusy = busy;
    if (busy)
        FSliceTimer->stop();
    else if (FBuilder)
        FSliceTimer->start();
}

std::shared_ptr<const TNameIndex> TSharedNameIndex::Request() {
    FEverAsked = true;
    if (FIndex || !FRoot)
        return FIndex;
    if (!FBuilder)
        FBuilder = std::make_unique<TNameIndexBuilder>(FRoot);
    if (!FBusy)
        FSliceTimer->start();
    return nullptr;
}

void TSharedNameIndex::BuildSlice() {
    if (FBusy || !FBuilder) {
        FSliceTimer->stop();
        return;
    }
    if (!FBuilder->AddDiscs(TNameIndexBuilder::TClock::now() + kSlice))
        return;
    FSliceTimer->stop();
    FIndex = std::make_shared<const TNameIndex>(FBuilder->Finish());
    FBuilder.reset();
    emit Ready();
}

} // namespace orlenta
