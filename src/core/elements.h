#pragma once
// Windowless elements of the forms layer: tick lines and number labels that a picture box
// owns and paints itself. They are plain data, so the scale layout can be built and checked
// without a window.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace plumbo {

// A straight line in the container's twips.
struct LineElement {
    float x1 = 0.0f;
    float y1 = 0.0f;
    float x2 = 0.0f;
    float y2 = 0.0f;
    uint32_t color = 0;  // COLORREF
    bool visible = false;
};

// A caption that sizes itself to its text; width and height are what the last measuring gave.
struct LabelElement {
    std::wstring caption;
    float left = 0.0f;
    float top = 0.0f;
    float width = 0.0f;
    float height = 0.0f;
    uint32_t color = 0;  // COLORREF, text colour; the background is transparent
    bool visible = false;
};

// A control array: element 0 is the designed one; later elements are loaded as hidden copies
// of it and are never unloaded, so a long ruler drawn once costs nothing to draw again.
template <typename T>
class ElementArray {
public:
    explicit ElementArray(T design = T{}) { items_.push_back(std::move(design)); }

    std::size_t Count() const { return items_.size(); }

    // When there are fewer than n elements, loads elements up to index n inclusive: one
    // spare beyond what the caller asked for.
    void EnsureCount(std::size_t n) {
        if (items_.size() >= n) return;
        items_.reserve(n + 1);
        while (items_.size() <= n) {
            T copy = items_.front();
            copy.visible = false;
            items_.push_back(std::move(copy));
        }
    }

    T& operator[](std::size_t i) { return items_[i]; }
    const T& operator[](std::size_t i) const { return items_[i]; }

    // Element 0 included, so elements loaded later take the colour too.
    void SetColor(uint32_t color) {
        for (T& e : items_) e.color = color;
    }

    void HideAll() {
        for (T& e : items_) e.visible = false;
    }

    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<T> items_;
};

}  // namespace plumbo
