#pragma once
// The mouse pages' base is the shared device page; the models still without their own page show
// only whether their mouse answers.
#include "page/DevicePage.h"
#include "records/CraneConfig.h"
#include "records/HeronConfig.h"

namespace mouse {

using MousePage = page::DevicePage;

// A model's page that shows only whether its mouse answers, until the model's own page exists.
template <class Record>
class PlaceholderPage final : public MousePage {
  public:
    static constexpr DeviceModel kModel = Record::kModel;
    explicit PlaceholderPage(ui::WindowImplBase& owner) : MousePage(owner, RowOf(kModel)) {}
};

}  // namespace mouse
