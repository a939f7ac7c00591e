// What the room does later, and when: script lines, the dice service's
// answers, the hang and the quit. The window side owns the one OS timer and
// sets it for next_due(); on each tick it takes what is due. Portable, so
// the order of events is tested without a clock.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <utility>

namespace zol::practiceroom {

template <class Item>
class Agenda {
public:
    // Items due at the same time come out in the order they were added.
    void add(std::int64_t due_ms, Item item) { items_.emplace(due_ms, std::move(item)); }

    std::optional<std::int64_t> next_due() const {
        if (items_.empty()) return std::nullopt;
        return items_.begin()->first;
    }

    // The earliest item due at `now_ms` or before, taken off the agenda.
    std::optional<Item> take_due(std::int64_t now_ms) {
        if (items_.empty() || items_.begin()->first > now_ms) return std::nullopt;
        Item item = std::move(items_.begin()->second);
        items_.erase(items_.begin());
        return item;
    }

    // Calls f(due_ms, item) for every item, earliest first.
    template <class F>
    void for_each(F f) const {
        for (const auto& [due, item] : items_) f(due, item);
    }

    // Takes every item the predicate holds for off the agenda; the rest keep
    // their order.
    template <class Pred>
    void remove_if(Pred pred) {
        std::erase_if(items_, [&](const auto& entry) { return pred(entry.second); });
    }

private:
    std::multimap<std::int64_t, Item> items_;
};

}  // namespace zol::practiceroom
