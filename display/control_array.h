// Control arrays: controls of one name addressed by a 16-bit index. Fixed arrays are made once
// with the window; sprite arrays create run-time elements from element 0 and remove them again.
#pragma once

#include "platform/controls.h"

#include <memory>
#include <string>
#include <vector>

template <typename T>
class ControlArray {
  public:
    explicit ControlArray(std::string name) : name_(std::move(name)) {}

    const std::string& name() const { return name_; }

    // Number of loaded elements, element 0 included.
    int Count() const { return count_; }
    bool Exists(int index) const {
        return index >= 0 && index < int(elements_.size()) && elements_[index];
    }
    T& operator[](int index) { return *elements_.at(index); }
    const T& operator[](int index) const { return *elements_.at(index); }
    T* Find(int index) { return Exists(index) ? elements_[index].get() : nullptr; }

    // Makes a new element at `index` (made by the caller) and returns it.
    T& Put(int index, std::unique_ptr<T> element) {
        if (index >= int(elements_.size())) elements_.resize(index + 1);
        count_ += (element ? 1 : 0) - (elements_[index] ? 1 : 0);
        elements_[index] = std::move(element);
        return *elements_[index];
    }
    T& Add(std::unique_ptr<T> element) { return Put(int(elements_.size()), std::move(element)); }
    void Remove(int index) {
        if (!Exists(index)) return;
        elements_[index].reset();
        --count_;
        while (!elements_.empty() && !elements_.back())
            elements_.pop_back();
    }
    std::string ElementName(int index) const { return name_ + "(" + std::to_string(index) + ")"; }

  private:
    std::string name_;
    std::vector<std::unique_ptr<T>> elements_;
    int count_ = 0;
};
