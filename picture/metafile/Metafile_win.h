#pragma once
// A metafile picture (.emf, or .wmf turned into an enhanced metafile on load), drawn by
// playing it into the rectangle. The program shows metafiles but writes none of its own.
#include <windows.h>

#include <memory>

#include "picture/graphic/Graphic_win.h"

class TMetafile : public TGraphic {
public:
    TERVANE_GRAPHIC_CLASS(TMetafile)

    TMetafile();
    ~TMetafile() override;

    void Assign(const TGraphic* source) override;
    void Draw(TCanvas& canvas, const RECT& rect) override;
    bool Empty() const override { return !data_->handle; }
    // The picture frame at the screen's resolution.
    int Width() const override;
    int Height() const override;
    void SetWidth(int width) override;
    void SetHeight(int height) override;

    void LoadFromStream(TStream& stream) override;
    // An enhanced metafile, or a placeable Windows metafile when Enhanced() is off.
    void SaveToStream(TStream& stream) const override;
    // The file's extension decides: ".wmf" writes a Windows metafile, anything else .emf.
    void SaveToFile(const std::string& fileName) const override;

    HENHMETAFILE Handle() const { return data_->handle; }
    // Takes ownership of an enhanced metafile handle.
    void SetHandle(HENHMETAFILE handle);
    bool Enhanced() const { return enhanced_; }
    void SetEnhanced(bool enhanced) { enhanced_ = enhanced; }
    // The frame size in 0.01 mm.
    int MMWidth() const { return data_->mmWidth; }
    int MMHeight() const { return data_->mmHeight; }

private:
    struct TMetafileData {
        HENHMETAFILE handle = nullptr;
        int mmWidth = 0;   // 0.01 mm
        int mmHeight = 0;
        ~TMetafileData();
    };
    void WriteWindowsMetafile(TStream& stream) const;
    // A metafile of its own with the new frame (0.01 mm).
    void SetFrame(int mmWidth, int mmHeight);

    std::shared_ptr<TMetafileData> data_;
    bool enhanced_ = true;
};
