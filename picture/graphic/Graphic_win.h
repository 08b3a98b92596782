#pragma once
// The abstract graphic: what every picture class (bitmap, icon, metafile, JPEG, GIF) can do,
// and the notifications its owner listens to.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/Exceptions.h"
#include "base/Streams.h"
#include "picture/graphic/GraphicClass.h"
#include "toolkit/CanvasDrawable_win.h"

class TCanvas;

enum TProgressStage { psStarting, psRunning, psEnding };

class TGraphic;
using TGraphicNotify = std::function<void(TGraphic* sender)>;
// stage, percent done, whether to repaint now, the area that changed, a text naming the job.
using TGraphicProgress = std::function<void(TGraphic* sender, TProgressStage stage, uint8_t percent,
                                            bool redrawNow, const RECT& rect, const std::string& message)>;

class TGraphic : public TCanvasDrawable {
public:
    TGraphic() = default;
    virtual ~TGraphic() = default;
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;

    // The root class and the dynamic class of this object.
    static TGraphicClass StaticClass();
    virtual TGraphicClass ClassType() const = 0;
    const char* ClassName() const { return ClassType()->name; }
    bool InheritsFrom(TGraphicClass cls) const { return ClassType()->InheritsFrom(cls); }
    // A new empty graphic of this object's own class (the virtual constructor).
    std::unique_ptr<TGraphic> NewOfSameClass() const;
    static std::unique_ptr<TGraphic> Construct(TGraphicClass cls);

    // Copies `source` into this graphic. A class that knows the source's class copies it;
    // otherwise the source is asked to copy itself here (AssignTo); failing both,
    // EConvertError "Cannot assign a <source class> to a <target class>". nullptr is
    // accepted only by classes that can become empty from it.
    virtual void Assign(const TGraphic* source);
    // Copies this graphic into `target` of a class that does not know this one.
    virtual void AssignTo(TGraphic* target) const;

    // Draws into the rectangle of the canvas (the canvas's Draw and StretchDraw call this).
    void Draw(TCanvas& canvas, const RECT& rect) override = 0;
    // Same class and the same stored bytes.
    virtual bool Equals(const TGraphic* other) const;
    bool Empty() const override = 0;
    int Width() const override = 0;
    int Height() const override = 0;
    virtual void SetWidth(int width) = 0;
    virtual void SetHeight(int height) = 0;
    virtual HPALETTE Palette() const { return nullptr; }
    virtual void SetPalette(HPALETTE /*palette*/) {}
    virtual bool Transparent() const { return transparent_; }
    // Sets the flag and signals a change when the value differs.
    virtual void SetTransparent(bool transparent);
    // A grid of pixels that looks the same every time it is drawn, so that a drawn copy may
    // stand in for it (not an animation, not a drawing made of records).
    virtual bool StillPixels() const { return false; }

    // Form streaming: the graphic's stored data (by default the stream form, prefixed by
    // nothing; classes that need a length prefix add it).
    virtual void ReadData(TStream& stream);
    virtual void WriteData(TStream& stream) const;

    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) const = 0;
    // Opens the file for reading (other writers shut out) and loads from it.
    virtual void LoadFromFile(const std::string& fileName);
    // Writes the file through SaveFileSafely: a save that fails leaves the old file as it was.
    virtual void SaveToFile(const std::string& fileName) const;
    // Clipboard: the format and data handle this graphic reads or makes. The base refuses.
    virtual void LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette);
    virtual void SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) const;

    bool Modified() const { return modified_; }
    void SetModified(bool modified);
    bool PaletteModified() const { return paletteModified_; }
    void SetPaletteModified(bool modified) { paletteModified_ = modified; }

    // The owner's callbacks: after every change, and while long jobs run.
    TGraphicNotify OnChange;
    TGraphicProgress OnProgress;

    // Sets the modified flag and calls OnChange.
    virtual void Changed();

protected:
    void Progress(TProgressStage stage, uint8_t percent, bool redrawNow, const RECT& rect,
                  const std::string& message);
    // Throws EConvertError naming the source's and this graphic's classes.
    [[noreturn]] void AssignError(const TGraphic* source) const;

    bool transparent_ = false;

private:
    bool modified_ = false;
    bool paletteModified_ = false;
};

// The system's standard icon size (SM_CXICON x SM_CYICON).
int SystemIconWidth();
int SystemIconHeight();
