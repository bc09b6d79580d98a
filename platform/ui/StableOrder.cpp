#include "StableOrder.h"

#include <algorithm>
#include <numeric>

std::vector<int> StableOrder(int count, const std::function<int(int, int)>& compare) {
    std::vector<int> order(std::max(count, 0));
    std::iota(order.begin(), order.end(), 0);
    std::vector<int> merged(order.size());
    for (int width = 1; width < count; width *= 2) {
        for (int low = 0; low < count; low += 2 * width) {
            const int middle = std::min(low + width, count);
            const int high = std::min(low + 2 * width, count);
            int left = low, right = middle, out = low;
            while (left < middle && right < high)
                merged[out++] = compare(order[left], order[right]) <= 0 ? order[left++] : order[right++];
            while (left < middle)
                merged[out++] = order[left++];
            while (right < high)
                merged[out++] = order[right++];
        }
        order.swap(merged);
    }
    return order;
}
