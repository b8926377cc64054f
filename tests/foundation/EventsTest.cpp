#include "foundation/Binders.h"
#include "foundation/ListenerList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using s::gui::events::IEventListener;
using s::gui::events::ListenerList;

struct Source final : s::base::IObject {
    const char* getClassName() const override { return "test_Source"; }
    s::base::IObject* newInstance() const override { return new Source(); }
};

struct Recorder final : IEventListener {
    explicit Recorder(std::vector<std::string>& log, std::string name) : m_log(log), m_name(std::move(name)) {}
    int onEvent(s::base::IObject*, int code) override
    {
        m_log.push_back(m_name + ":" + std::to_string(code));
        return 0;
    }
    std::vector<std::string>& m_log;
    std::string m_name;
};

TEST(ListenerListTest, DeliversInOrderAndIncludesListenersAddedDuringDelivery)
{
    std::vector<std::string> log;
    ListenerList list;
    Recorder late(log, "late");
    struct Adder final : IEventListener {
        Adder(ListenerList& list, IEventListener& toAdd) : m_list(list), m_toAdd(toAdd) {}
        int onEvent(s::base::IObject*, int) override
        {
            m_list.add(&m_toAdd);
            return 0;
        }
        ListenerList& m_list;
        IEventListener& m_toAdd;
    } adder(list, late);
    Recorder first(log, "first");
    list.add(&first);
    list.add(&adder);
    Source source;
    list.fire(&source, 7);
    EXPECT_EQ(log, (std::vector<std::string>{"first:7", "late:7"}));
}

TEST(ListenerListTest, RemoveTakesTheFirstOccurrenceOnly)
{
    std::vector<std::string> log;
    Recorder a(log, "a");
    Recorder b(log, "b");
    ListenerList list;
    list.add(&a);
    list.add(&b);
    list.add(&a);
    EXPECT_TRUE(list.remove(&a));
    Source source;
    list.fire(&source, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"b:1", "a:1"}));
    list.clear();
    EXPECT_FALSE(list.remove(&a));
}

struct Target final : s::gui::events::IBindTarget {
    Target(std::vector<std::string>& log, std::string name) : m_log(log), m_name(std::move(name)) {}
    void setEnabled(bool enabled) override { m_log.push_back(m_name + (enabled ? "+enabled" : "-enabled")); }
    void setEditable(bool editable) override { m_log.push_back(m_name + (editable ? "+editable" : "-editable")); }
    std::vector<std::string>& m_log;
    std::string m_name;
};

// A check box reduced to what binding needs: a checked and an unchecked list with their binders.
struct CheckSource final : s::base::IObject {
    const char* getClassName() const override { return "test_CheckSource"; }
    s::base::IObject* newInstance() const override { return new CheckSource(); }

    void enableWhileChecked(s::gui::events::IBindTarget* target)
    {
        s::gui::events::bindTarget(enablerOnChecked, this, checked, target);
        s::gui::events::bindTarget(disablerOnUnchecked, this, unchecked, target);
    }
    void resetBindings()
    {
        checked.clear();
        unchecked.clear();
        s::gui::events::releaseBinder(enablerOnChecked);
        s::gui::events::releaseBinder(disablerOnUnchecked);
    }
    void setChecked(bool on) { (on ? checked : unchecked).fire(this, on ? 1 : 0); }

    ListenerList checked;
    ListenerList unchecked;
    s::gui::events::Enabler* enablerOnChecked = nullptr;
    s::gui::events::Disabler* disablerOnUnchecked = nullptr;
};

TEST(BindersTest, EnableExactlyWhileCheckedActsOnEveryTargetInOrder)
{
    std::vector<std::string> log;
    Target t1(log, "1"), t2(log, "2"), t3(log, "3");
    CheckSource box;
    box.enableWhileChecked(&t1);
    box.enableWhileChecked(&t2);
    box.enableWhileChecked(&t3);
    EXPECT_EQ(box.checked.size(), 1u);  // one binder per kind, however many targets
    box.setChecked(true);
    EXPECT_EQ(log, (std::vector<std::string>{"1+enabled", "2+enabled", "3+enabled"}));
    log.clear();
    box.setChecked(false);
    EXPECT_EQ(log, (std::vector<std::string>{"1-enabled", "2-enabled", "3-enabled"}));
    box.resetBindings();
}

TEST(BindersTest, IgnoresOtherSourcesAndEmptyTargetLists)
{
    std::vector<std::string> log;
    Target target(log, "t");
    Source mine, other;
    auto* editabler = s::thread::take<s::gui::events::Editabler>();
    editabler->setSource(&mine);
    editabler->onEvent(&mine, 0);
    EXPECT_TRUE(log.empty());
    editabler->addTarget(&target);
    editabler->addTarget(&target);
    editabler->onEvent(&other, 0);
    EXPECT_TRUE(log.empty());
    editabler->onEvent(&mine, 99);
    EXPECT_EQ(log, (std::vector<std::string>{"t+editable", "t+editable"}));
    editabler->recycle();

    auto* uneditabler = s::thread::take<s::gui::events::UnEditabler>();
    uneditabler->setSource(&mine);
    uneditabler->addTarget(&target);
    uneditabler->onEvent(&mine, 0);
    EXPECT_EQ(log.back(), "t-editable");
    EXPECT_STREQ(uneditabler->getClassName(), "s_gui_events_UnEditabler");
    uneditabler->recycle();
}

TEST(BindersTest, ResetGivesBindersBackAndANewBindingTakesAFreshOne)
{
    std::vector<std::string> log;
    Target target(log, "t");
    CheckSource box;
    box.enableWhileChecked(&target);
    s::gui::events::Enabler* first = box.enablerOnChecked;
    box.resetBindings();
    EXPECT_EQ(first->getSource(), nullptr);  // kept in the pool, reset
    EXPECT_TRUE(first->getTargets().empty());
    box.enableWhileChecked(&target);
    ASSERT_NE(box.enablerOnChecked, nullptr);
    EXPECT_EQ(box.enablerOnChecked->getSource(), &box);
    EXPECT_EQ(box.enablerOnChecked->getTargets().size(), 1u);
    box.setChecked(true);
    EXPECT_EQ(log, (std::vector<std::string>{"t+enabled"}));
    box.resetBindings();
}

}  // namespace
