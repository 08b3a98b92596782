#pragma once
// Graphic classes as values: a name, a parent and a factory. The format registry keeps these,
// a picture creates a graphic of a file's class through the factory (a virtual constructor),
// and conversion errors name the classes involved.
#include <memory>

class TGraphic;

struct TGraphicClassInfo {
    const char* name;                  // the class name, as error texts show it ("TBitmap")
    const TGraphicClassInfo* parent;   // nullptr for the root graphic class
    TGraphic* (*create)();             // a new empty graphic of the class; nullptr when abstract

    // True when this class is `other` or derives from it.
    bool InheritsFrom(const TGraphicClassInfo* other) const {
        for (const TGraphicClassInfo* c = this; c; c = c->parent)
            if (c == other) return true;
        return false;
    }
};

using TGraphicClass = const TGraphicClassInfo*;

// Declares the class-info members of a graphic class: put it in the public part of the class.
// StaticClass() names the class; ClassType() names the object's dynamic class.
#define TERVANE_GRAPHIC_CLASS(ClassName)              \
    static TGraphicClass StaticClass();               \
    TGraphicClass ClassType() const override { return StaticClass(); }

// Defines them in the class's source file. Parent is another graphic class, or the root.
#define TERVANE_DEFINE_GRAPHIC_CLASS(ClassName, ParentName)                                          \
    TGraphicClass ClassName::StaticClass() {                                                         \
        static const TGraphicClassInfo info = {#ClassName, ParentName::StaticClass(),                \
                                               []() -> TGraphic* { return new ClassName(); }};      \
        return &info;                                                                                 \
    }
