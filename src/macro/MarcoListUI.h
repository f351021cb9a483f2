#pragma once
// The step list of the macro pages ("MarcoList" in their skins): a toolkit list whose rows carry a
// step's tag and value in a tree of row records under an invisible root, shown with an indent per
// level. The wheel scrolls smoothly: each notch adds speed that decays over a few ticks.
#include <memory>
#include <string>
#include <vector>

#include "ui/controls/List.h"

class MarcoListUI : public ui::List {
  public:
    struct Row {
        Row* parent = nullptr;
        std::vector<std::unique_ptr<Row>> children;
        int level = -1;  // -1 for the root, 0 for top-level rows
        bool expanded = false;
        int tag = 0;
        int value = 0;
        std::string text;  // as the row was created, without the indent
        ui::ListLabelElement* element = nullptr;
    };

    static constexpr uintptr_t kScrollTimer = 10;
    static constexpr uint32_t kScrollTickMs = 50;

    MarcoListUI();
    ~MarcoListUI() override;
    std::string_view GetClass() const override { return "MarcoList"; }

    // A row at the end of `parent`'s rows (the root when null).
    Row* AddRow(std::string text, Row* parent = nullptr);
    // A row shown at display index `index` (clamped to the rows), below `parent`.
    Row* InsertRow(std::string text, int index, Row* parent = nullptr);
    // Removes the row shown at `index` with its children; false when there is none.
    bool RemoveRow(int index);
    void RemoveAllRows();
    int RowCount() const { return GetCount(); }
    // The row shown at `index`, or null.
    Row* RowAt(int index) const;
    const Row& Root() const { return *root_; }

    // The text an element shows for a row: the indent prefix, then the row's text.
    static std::string DisplayText(const Row& row);

    void DoEvent(ui::UiEvent& event) override;
    // Smooth-scroll state, for tests.
    int ScrollSpeed() const { return speed_; }
    int ScrollStepsLeft() const { return stepsLeft_; }

  private:
    Row* MakeRow(std::string text, Row* parent, int displayIndex, int childIndex);
    int LastDescendantIndex(const Row& row) const;
    void OnWheelNotch(bool up);
    void OnScrollTick();
    void StopScrolling();

    std::unique_ptr<Row> root_;
    int speed_ = 0;
    int stepCount_ = 0;
    int stepsLeft_ = 0;
};
