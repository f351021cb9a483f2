#include "ui/builder/ControlFactory.h"

#include "ui/builder/AttributeParsers.h"
#include "ui/controls/AnimatedPicture.h"
#include "ui/controls/Button.h"
#include "ui/controls/Combo.h"
#include "ui/controls/Edit.h"
#include "ui/controls/Label.h"
#include "ui/controls/List.h"
#include "ui/controls/ListItem.h"
#include "ui/controls/Option.h"
#include "ui/controls/Slider.h"
#include "ui/controls/TreeNode.h"
#include "ui/controls/TreeView.h"
#include "ui/core/Container.h"
#include "ui/layout/LinearLayout.h"
#include "ui/layout/TabLayout.h"

namespace ui {

ControlFactory& ControlFactory::Instance() {
    static ControlFactory factory;
    return factory;
}

template <typename T>
static ControlFactory::Maker Make() {
    return [] { return std::make_unique<T>(); };
}

ControlFactory::ControlFactory() {
    Register("Control", Make<Control>());
    Register("Container", Make<Container>());
    Register("VerticalLayout", Make<VerticalLayout>());
    Register("HorizontalLayout", Make<HorizontalLayout>());
    Register("TabLayout", Make<TabLayout>());
    Register("Label", Make<Label>());
    Register("Text", Make<Text>());
    Register("Button", Make<Button>());
    Register("Option", Make<Option>());
    Register("CheckBox", Make<CheckBox>());
    Register("Combo", Make<Combo>());
    Register("ListLabelElement", Make<ListLabelElement>());
    Register("List", Make<List>());
    Register("TreeView", Make<TreeView>());
    Register("TreeNode", Make<TreeNode>());
    Register("Progress", Make<Progress>());
    Register("Slider", Make<Slider>());
    Register("Edit", Make<Edit>());
    Register("RichEdit", Make<RichEdit>());
    Register("GifAnim", Make<AnimatedPicture>());
    Register("AnimatedPicture", Make<AnimatedPicture>());
}

void ControlFactory::Register(std::string_view className, Maker maker) {
    makers_[ToLower(className)] = std::move(maker);
}

std::unique_ptr<Control> ControlFactory::Create(std::string_view className) const {
    auto it = makers_.find(ToLower(className));
    return it == makers_.end() ? nullptr : it->second();
}

bool ControlFactory::Knows(std::string_view className) const {
    return makers_.count(ToLower(className)) != 0;
}

}  // namespace ui
