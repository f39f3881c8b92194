// Where the child windows of a large container lie, so that drawing part of it and finding the
// window at a point look only at the children nearby, however many it holds.
#pragma once

#include <vector>

namespace platform {

class Control;

// Buckets of several sizes over the container's twips: each child sits in the bucket of its
// top-left corner at the smallest size that holds the whole child, so the buckets around a
// rectangle, widened by their size, hold every child that can meet it. Children far outside the
// container share the buckets at its edges. A move within its bucket costs a few comparisons.
class ChildIndex {
  public:
    // Bucket sizes follow the screen's twips per pixel when the index is made.
    ChildIndex(int twipsPerPixelX, int twipsPerPixelY);

    void insert(Control& child);
    void erase(Control& child);
    // After the child's position or size changed.
    void moved(Control& child);

    // Adds to `out` every child that may meet the pixels [x0, x1) x [y0, y1) of the container
    // at the given twips per pixel (more than meet it: the caller tests each).
    void collect(int x0, int y0, int x1, int y1, int twipsPerPixelX, int twipsPerPixelY,
                 std::vector<Control*>& out) const;

  private:
    struct Level {
        double size = 0; // of a bucket, in twips: the largest child it takes
        double sizeY = 0;
        int columns = 0, rows = 0;
        std::vector<int> heads; // first entry of each bucket's list, -1 for none
    };
    struct Entry {
        Control* control = nullptr;
        int level = 0, bucket = 0;
        int prev = -1, next = -1;
    };

    int levelFor(const Control& child) const;
    int bucketFor(const Level& level, const Control& child) const;
    void link(int entry);
    void unlink(int entry);

    std::vector<Level> levels_;
    std::vector<Entry> entries_;
    std::vector<int> free_;
};

} // namespace platform
