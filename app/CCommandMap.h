#pragma once

#include "CCmdUI.h"

#include <functional>
#include <unordered_map>

// A command table for one kind of target: id -> handler and optional update rule. An entry
// without an update rule is always enabled.
template <class T> class CCommandMap {
public:
    using Handler = std::function<void(T&)>;
    using Updater = std::function<void(T&, CCmdUI&)>;

    CCommandMap& On(int id, Handler handler, Updater update = {}) {
        m_entries[id] = Entry{std::move(handler), std::move(update)};
        return *this;
    }

    bool Dispatch(T& target, int id, CCmdUI* update) const {
        const auto it = m_entries.find(id);
        if (it == m_entries.end())
            return false;
        if (update) {
            update->Enable(true);
            if (it->second.update)
                it->second.update(target, *update);
        } else {
            it->second.handler(target);
        }
        return true;
    }

private:
    struct Entry {
        Handler handler;
        Updater update;
    };
    std::unordered_map<int, Entry> m_entries;
};
