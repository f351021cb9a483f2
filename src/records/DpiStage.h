#pragma once
// One sensitivity stage: indicator colour and the index of its level in the page's label list.

struct DpiStage {
    int red = 0;
    int green = 0;
    int blue = 0;
    int level = 0;

    bool operator==(const DpiStage&) const = default;
};
