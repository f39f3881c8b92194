#include "display/sprites.h"

#include <memory>

using platform::PictureBox;

int CreateSprite(SpriteArray& array) {
    const PictureBox& templ = array[0];
    const int index = array.Count();
    auto element = std::make_unique<PictureBox>(array.ElementName(index));
    element->setBackColor(templ.backColor());
    element->persistent = templ.persistent;
    element->hide();
    element->move(templ.left(), templ.top(), templ.width(), templ.height());
    element->surface() = templ.surface();
    PictureBox& made = array.Put(index, std::move(element));
    // Container::add puts the child in front of its siblings: the later created is in front.
    if (templ.parent()) templ.parent()->add(made);
    return index;
}

void RemoveSprites(SpriteArray& array) {
    const int count = array.Count();
    for (int i = 1; i < count; ++i)
        array.Remove(i); // its destructor takes it off the playfield
}

void MoveSprite(PictureBox& sprite, float left, float top) {
    sprite.move(left, top);
}

void MoveSprite(PictureBox& sprite, float left, float top, float width, float height) {
    sprite.move(left, top, width, height);
}
