#pragma once
// Sorting of the selection lists: a click on the sort column's header flips
// the order, a click on another column makes it the sort column with the
// order unchanged. Items compare by their shown texts.
#include <algorithm>
#include <string>
#include <vector>

namespace crv::main {

struct ListSort {
    int column = 1;
    bool descending = false;

    void clickHeader(int clicked) {
        if (clicked == column)
            descending = !descending;
        else
            column = clicked;
    }

    // Items with a `columns` array of texts; equal texts keep their order.
    template <class Item>
    void apply(std::vector<Item>& items) const {
        const auto col = static_cast<std::size_t>(column);
        std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
            return descending ? b.columns[col] < a.columns[col] : a.columns[col] < b.columns[col];
        });
    }
};

}  // namespace crv::main
