#pragma once

// The name index of the open catalogue, one for every view that searches it (Find all,
// Duplicates, Overlap): a million names copied once per state of the catalogue, not once per
// view.
//
// The document is read on the window's thread only (the window may change it at any click), in
// slices of a few milliseconds between events, so that typing and clicking go on while a large
// catalogue is read; a slice adds whole discs, so a single disc of a million files is one long
// slice. While the window is busy (a disc being read), the document may be half-way through a
// change, and no slice runs.
//
// Once any view has asked, the index is built again after every change without waiting to be
// asked: whoever searched once is likely to again, and then finds it ready. A session that never
// searches never holds one.

#include "core/catalogue/OrlentaData.h"
#include "core/search/NameIndex.h"

#include <QObject>
#include <chrono>
#include <memory>

class QTimer;

namespace orlenta {

class TSharedNameIndex : public QObject {
    Q_OBJECT
public:
    // How long a slice may hold the window's thread, at least one disc.
    static constexpr std::chrono::milliseconds kSlice{8};

    explicit TSharedNameIndex(QObject* parent = nullptr);
    ~TSharedNameIndex() override;

    // The open catalogue, after anything that may have changed it or replaced it: the index is
    // dropped, and built again if it was ever asked for. Every view calls it when told of a
    // change; the slices start only from a later event, so the views' calls for one change
    // cost one build.
    void Follow(const IXMLOrlentaDataType& root);
    // Stops the slices while busy; they go on after.
    void SetBusy(bool busy);
    // The index of the catalogue as it stands when it is built; otherwise null, the build goes
    // on (or starts) and Ready comes when it is done.
    std::shared_ptr<const TNameIndex> Request();
    // Whether slices are still to come.
    bool Building() const { return FBuilder != nullptr; }

signals:
    void Ready();

private:
    void BuildSlice();

    IXMLOrlentaDataType FRoot;
    std::unique_ptr<TNameIndexBuilder> FBuilder;
    std::shared_ptr<const TNameIndex> FIndex;
    QTimer* FSliceTimer = nullptr;
    bool FBusy = false;
    bool FEverAsked = false;
};

} // namespace orlenta
