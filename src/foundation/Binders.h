#pragma once

#include "foundation/ClassPool.h"
#include "foundation/IBindTarget.h"
#include "foundation/IEventListener.h"
#include "foundation/IObject.h"
#include "foundation/IPoolable.h"
#include "foundation/ListenerList.h"

#include <vector>

namespace s::gui::events {

// Couples one source's events to an operation on a list of targets. Neither is owned.
class Binder : public IEventListener, public base::IObject, public thread::IPoolable {
public:
    static constexpr int kPoolCapacity = 1000;

    void setSource(base::IObject* source) { m_source = source; }
    base::IObject* getSource() const { return m_source; }
    void addTarget(IBindTarget* target) { m_targets.push_back(target); }
    const std::vector<IBindTarget*>& getTargets() const { return m_targets; }

    // Applies the operation to every target in order when, and only when, source is ours.
    int onEvent(base::IObject* source, int code) final;
    void reset() override;

protected:
    virtual void apply(IBindTarget& target) = 0;

private:
    base::IObject* m_source = nullptr;
    std::vector<IBindTarget*> m_targets;
};

class Enabler final : public Binder {
public:
    const char* getClassName() const override { return "s_gui_events_Enabler"; }
    base::IObject* newInstance() const override { return thread::take<Enabler>(); }
    void recycle() override { thread::giveBack(this); }

protected:
    void apply(IBindTarget& target) override { target.setEnabled(true); }
};

class Disabler final : public Binder {
public:
    const char* getClassName() const override { return "s_gui_events_Disabler"; }
    base::IObject* newInstance() const override { return thread::take<Disabler>(); }
    void recycle() override { thread::giveBack(this); }

protected:
    void apply(IBindTarget& target) override { target.setEnabled(false); }
};

class Editabler final : public Binder {
public:
    const char* getClassName() const override { return "s_gui_events_Editabler"; }
    base::IObject* newInstance() const override { return thread::take<Editabler>(); }
    void recycle() override { thread::giveBack(this); }

protected:
    void apply(IBindTarget& target) override { target.setEditable(true); }
};

class UnEditabler final : public Binder {
public:
    const char* getClassName() const override { return "s_gui_events_UnEditabler"; }
    base::IObject* newInstance() const override { return thread::take<UnEditabler>(); }
    void recycle() override { thread::giveBack(this); }

protected:
    void apply(IBindTarget& target) override { target.setEditable(false); }
};

// Binds a target through the binder a source holds in slot for one binding kind: the first
// binding takes a binder from its pool and registers it on the source's listener list; every
// binding appends the target (twice if bound twice).
template <class B>
void bindTarget(B*& slot, base::IObject* source, ListenerList& list, IBindTarget* target)
{
    if (slot == nullptr) {
        slot = thread::take<B>();
        slot->setSource(source);
        list.add(slot);
    }
    slot->addTarget(target);
}

// Gives a source's binder back to its pool; the source clears its listener lists itself.
template <class B>
void releaseBinder(B*& slot)
{
    if (slot != nullptr) {
        slot->recycle();
        slot = nullptr;
    }
}

}  // namespace s::gui::events
