#pragma once
// The Heron mouse reached through its driver library. Every open passes the driver block after the
// Heron's ids; the block is kept between runs in the macro working folder and written with the
// library's image when the user writes.
#include "mouse/MousePage.h"
#include "records/HeronDriverConfig.h"

namespace mouse {

class CDialogMouseHeronDriverSetting final : public MousePage {
  public:
    static constexpr DeviceModel kModel = HeronDriverConfig::kModel;

    explicit CDialogMouseHeronDriverSetting(ui::WindowImplBase& owner);

    HeronDriverConfig& Config() { return config_; }

  protected:
    void InitPage() override;
    OpenValues CurrentOpenValues() const override;
    std::unique_ptr<PageWork> PrepareWrite(int operation) override;

  private:
    HeronDriverConfig config_;
};

}  // namespace mouse
