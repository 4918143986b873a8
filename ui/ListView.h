#pragma once
// Report-style list view whose rows are kept by the framework; the native
// control asks for each visible row's texts as it draws it, so adding
// thousands of rows costs no native insertions.
#include "ui/Control.h"
#include "ui/DefaultPixels.h"
#include "ui/ImageList.h"

#include <deque>
#include <vector>

class TListView;

struct TListItem {
    String Caption;
    int ImageIndex = -1;
    std::vector<String> SubItems;
};

class TListItems {
public:
    explicit TListItems(TListView& owner) : owner_(owner) {}

    // A new last row; its fields may be filled until the next repaint.
    TListItem* Add();
    void Clear();
    int Count() const { return static_cast<int>(rows_.size()); }
    TListItem& operator[](int index) { return rows_.at(static_cast<std::size_t>(index)); }
    const TListItem& operator[](int index) const { return rows_.at(static_cast<std::size_t>(index)); }

    // Between the two the view is neither resized nor redrawn.
    void BeginUpdate();
    void EndUpdate();

private:
    TListView& owner_;
    std::deque<TListItem> rows_;
    int updating_ = 0;
};

struct TListColumn {
    String Caption;
    int Width = kDefaultColumnWidth;
    int Format = 0; // LVCFMT_LEFT, _RIGHT or _CENTER
};

class TListView : public TControl {
public:
    explicit TListView(TComponent* owner) : TControl(owner), Items(*this) {}

    TListItems Items;
    const std::vector<TListColumn>& Columns() const { return columns_; }
    // The selected row, null when none is.
    TListItem* Selected();
    int SelectedIndex() const;
    void SetSelectedIndex(int index);
    void DblClick();

    bool SetLayoutProperty(const LayoutProperty& property) override;
    bool SetLayoutEvent(const String& event, TNotifyEvent handler) override;
    bool SetLayoutReference(const String& property, TComponent* target) override;

private:
    friend class TListItems;
    CreateParams CreationParams() const override;
    void HandleCreated() override;
    void PixelsChanged(int from, int to) override;
    std::optional<LRESULT> HandleNotify(NMHDR& header) override;
    void SyncRowCount();
    int FindRow(const wchar_t* prefix, int start) const;

    std::vector<TListColumn> columns_;
    // Widths the user has given columns, as they were when the layout's
    // were applied again; -1 where a column kept the layout's.
    std::vector<int> userWidths_;
    TImageListLink smallImages_;
    TImageListLink largeImages_;
    bool readOnly_ = false;
    TNotifyEvent onDblClick_;
};
