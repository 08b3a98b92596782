#include "skin/stored/SkinObjects_win.h"

TDataSkinObject::TDataSkinObject(std::string name) : Picture(std::make_unique<TBitmap>()), Name(std::move(name)) {}
TDataSkinObject::~TDataSkinObject() = default;

TDataSkinBorder::TDataSkinBorder(std::string name)
    : TDataSkinObject(std::move(name)), Picture2(std::make_unique<TBitmap>()) {}
TDataSkinBorder::~TDataSkinBorder() = default;

TDataSkinTitle::TDataSkinTitle(std::string name) : TDataSkinObject(std::move(name)) {}
TDataSkinTitle::~TDataSkinTitle() = default;

TDataSkinButton::TDataSkinButton(std::string name)
    : TDataSkinObject(std::move(name)),
      CheckPicture(std::make_unique<TBitmap>()),
      RadioPicture(std::make_unique<TBitmap>()) {}
TDataSkinButton::~TDataSkinButton() = default;

TDataSkinSysButton::TDataSkinSysButton(std::string name) : TDataSkinObject(std::move(name)) {}
TDataSkinSysButton::~TDataSkinSysButton() = default;
