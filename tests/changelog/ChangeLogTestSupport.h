#pragma once

#include "changelog/Change.h"
#include "changelog/IChangeListView.h"
#include "changelog/PathParts.h"

#include <algorithm>
#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace changelog_test {

namespace fa = s::file::gui::dialogs::fileaccess;

// A record as makeChange would make it, without asking the file system.
inline fa::Change* recordOf(fa::ChangeKind kind, const std::string& path, bool directory = false)
{
    fa::Change* change = s::thread::take<fa::Change>();
    change->setKind(kind);
    fa::PathParts parts;
    fa::splitPath(path, parts);
    change->setPath(path, parts, {});
    change->setDirectory(directory);
    return change;
}

class FakeList;

// A row that tells its list when it is given back (with its record).
class FakeRow final : public s::thread::IPoolable {
public:
    FakeRow(FakeList& list, std::string path) : m_list(list), m_path(std::move(path)) {}
    void recycle() override;
    void reset() override {}

private:
    FakeList& m_list;
    std::string m_path;
};

// Records what the change log decides: every call in order, and which rows are in the list.
class FakeList final : public fa::IChangeListView {
public:
    std::vector<std::string> calls;
    // Paths of the rows in the list, in the order they were added (trimming takes the oldest,
    // from the front).
    std::deque<std::string> listed;
    int rowsMade = 0;
    int rowsGivenBack = 0;

    void setRedrawSuspended(bool suspended) override { calls.push_back(suspended ? "hold" : "release"); }
    s::thread::IPoolable* makeRow(fa::Change& change) override
    {
        calls.push_back("make " + change.getFullPath());
        ++rowsMade;
        return new FakeRow(*this, change.getFullPath());
    }
    void addRow(fa::Change& change) override
    {
        calls.push_back("add " + change.getFullPath());
        listed.push_back(change.getFullPath());
    }
    void removeRow(fa::Change& change) override
    {
        calls.push_back("remove " + change.getFullPath());
        takeOut(change.getFullPath());
    }
    void sort() override { calls.push_back("sort"); }

    void rowGivenBack(const std::string& path)
    {
        ++rowsGivenBack;
        takeOut(path);
    }

    std::vector<std::string> takeCalls() { return std::exchange(calls, {}); }
    std::vector<std::string> listedPaths() const { return {listed.begin(), listed.end()}; }

private:
    void takeOut(const std::string& path)
    {
        const auto found = std::find(listed.begin(), listed.end(), path);
        if (found != listed.end())
            listed.erase(found);
    }
};

inline void FakeRow::recycle()
{
    m_list.rowGivenBack(m_path);
    delete this;
}

}  // namespace changelog_test
