#include "ToolkitTesting.h"
#include "gui/component/Box.h"
#include "gui/component/PrivateMessages.h"
#include "gui/drawer/CheckBoxMetrics.h"
#include "gui/widgets/CheckBox.h"

#include <gtest/gtest.h>

namespace {

using namespace s::gui;
using namespace s::gui::win;
using s::gui::testing::EventLog;
using s::gui::testing::HeadlessDesk;
using s::platform::Rect;

class CheckBoxTest : public HeadlessDesk {};

enum class Action { UserClick, SetChecked, SetCheckedSilently, UserClickNotifyOff };

struct NotifyCase {
    const char* name;
    bool startChecked;
    Action action;
    bool value;
    bool endChecked;
    std::vector<int> codes;
};

class CheckBoxNotifyTest : public CheckBoxTest, public ::testing::WithParamInterface<NotifyCase> {};

TEST_P(CheckBoxNotifyTest, OnlyTheUsersChangesAreTold)
{
    const NotifyCase& c = GetParam();
    CheckBox* box = place(makeCheckBox("Write >", c.startChecked));
    EventLog events;
    box->addCheckedListener(&events);
    box->addUncheckedListener(&events);
    switch (c.action) {
    case Action::UserClick: click(*box, 4, 4); break;
    case Action::SetChecked: box->setChecked(c.value); break;
    case Action::SetCheckedSilently: box->setCheckedSilently(c.value); break;
    case Action::UserClickNotifyOff:
        box->setNotify(false);
        click(*box, 4, 4);
        break;
    }
    EXPECT_EQ(box->isChecked(), c.endChecked);
    EXPECT_EQ(events.codes(), c.codes);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CheckBoxNotifyTest,
    ::testing::Values(NotifyCase{"UserChecks", false, Action::UserClick, false, true, {CheckBox::kChecked}},
                      NotifyCase{"UserUnchecks", true, Action::UserClick, false, false, {CheckBox::kUnchecked}},
                      NotifyCase{"SetCheckedTellsNobody", false, Action::SetChecked, true, true, {}},
                      NotifyCase{"SetUncheckedTellsNobody", true, Action::SetChecked, false, false, {}},
                      NotifyCase{"SilentlyTellsNobody", false, Action::SetCheckedSilently, true, true, {}},
                      NotifyCase{"SameStateTellsNobody", true, Action::SetChecked, true, true, {}},
                      NotifyCase{"NotifyOffToggles", false, Action::UserClickNotifyOff, false, true, {}}),
    [](const auto& test) { return std::string(test.param.name); });

TEST_F(CheckBoxTest, SilentSettingKeepsNotificationOn)
{
    CheckBox* box = place(makeCheckBox("Create +", false));
    EventLog events;
    box->addCheckedListener(&events);
    box->addUncheckedListener(&events);
    box->setCheckedSilently(true);
    click(*box, 4, 4);
    EXPECT_EQ(events.codes(), std::vector<int>{CheckBox::kUnchecked});
}

TEST_F(CheckBoxTest, AnAmpersandIsShownAsItIs)
{
    CheckBox* box = place(makeCheckBox("Save & Exit", false));
    EXPECT_EQ(box->getText(), "Save & Exit");
    const drawer::TextSizes full = drawer::checkBoxSizes("Save & Exit", box->getFont());
    EXPECT_EQ(box->getPreferredWidth(), full.prefWidth);
    EXPECT_GT(full.prefWidth, drawer::checkBoxSizes("Save Exit", box->getFont()).prefWidth);
}

// Records the order in which targets are switched.
class Target final : public s::gui::events::IBindTarget {
public:
    Target(std::vector<std::pair<int, bool>>* log, int id) : m_log(log), m_id(id) {}
    void setEnabled(bool enabled) override { m_log->emplace_back(m_id, enabled); }
    void setEditable(bool) override {}

private:
    std::vector<std::pair<int, bool>>* m_log;
    int m_id;
};

TEST_F(CheckBoxTest, BindersSwitchTheirTargetsInOrder)
{
    CheckBox* box = place(makeCheckBox("Drive", false));
    std::vector<std::pair<int, bool>> log;
    Target a(&log, 1);
    Target b(&log, 2);
    Target c(&log, 3);
    box->enableWhileChecked(&a);
    box->enableWhileChecked(&b);
    box->enableWhileChecked(&c);
    click(*box, 4, 4);
    EXPECT_EQ(log, (std::vector<std::pair<int, bool>>{{1, true}, {2, true}, {3, true}}));
    log.clear();
    click(*box, 4, 4);
    EXPECT_EQ(log, (std::vector<std::pair<int, bool>>{{1, false}, {2, false}, {3, false}}));

    log.clear();
    Target d(&log, 4);
    box->disableWhenChecked(&d);
    box->enableWhenUnchecked(&d);
    click(*box, 4, 4);
    EXPECT_EQ(log, (std::vector<std::pair<int, bool>>{{1, true}, {2, true}, {3, true}, {4, false}}));

}

TEST_F(CheckBoxTest, AResetBoxKeepsNoBindings)
{
    std::vector<std::pair<int, bool>> log;
    Target a(&log, 1);
    CheckBox* box = makeCheckBox("Drive", false);
    box->enableWhenChecked(&a);
    box->sendMessage(s::gui::msg::kReflectedClick);
    EXPECT_EQ(log.size(), 1u);
    box->recycle();
    CheckBox* again = makeCheckBox("Drive", false);
    again->sendMessage(s::gui::msg::kReflectedClick);
    EXPECT_TRUE(again->isChecked());
    EXPECT_EQ(log.size(), 1u) << "the old binding went back with its binder";
    again->recycle();
}

TEST_F(CheckBoxTest, AWrappingCheckBoxWrapsBesideItsBox)
{
    s::thread::PooledPtr<CheckBox> box(makeCheckBox("Iconize on mouse wheel click", false));
    box->setWordWrap(true);
    const int single = box->getPreferredWidth();
    EXPECT_LT(box->getMinWidth(), single);
    box->resizeWithin(single / 2, 0);
    EXPECT_LE(box->getWidth(), single / 2);
    EXPECT_GT(box->getHeight(), box->getMinHeight());
}

}  // namespace
