#pragma once
// The picture container: owns at most one graphic, loads a file by choosing the graphic
// class from the file's extension in the format registry, and tells its owner (an image
// control) about every change.
#include <functional>
#include <memory>
#include <string>

#include "picture/graphic/FileFormatsList.h"
#include "picture/graphic/Graphic_win.h"

class TBitmap;
class TIcon;
class TMetafile;

class TPicture {
public:
    TPicture();
    ~TPicture();
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    // The held graphic, or nullptr.
    TGraphic* Graphic() const { return graphic_.get(); }
    // Copies the graphic: a new graphic of the source's own class takes a copy of it
    // (nullptr clears the picture). A change is signalled.
    void SetGraphic(const TGraphic* graphic);
    void Assign(const TPicture* source) { SetGraphic(source ? source->Graphic() : nullptr); }
    void Assign(const TGraphic* source) { SetGraphic(source); }

    // The held graphic as an icon, bitmap or metafile: when it is of another class (or there
    // is none) it is replaced by a new empty one of the wanted class and a change is
    // signalled.
    TIcon* Icon();
    TBitmap* Bitmap();
    TMetafile* Metafile();

    // The graphic's size, 0 without one.
    int Width() const;
    int Height() const;

    // Loads by extension. Unknown extension: EInvalidGraphic "Unknown picture file
    // extension (.ext)" with the extension as written. Any failure leaves the picture as it
    // was.
    void LoadFromFile(const std::string& fileName);
    // Saves the graphic (through the graphic's own safe file saving); nothing without one.
    void SaveToFile(const std::string& fileName) const;

    // Called after every change of the picture or its graphic.
    std::function<void(TPicture* sender)> OnChange;
    // Progress of the graphic's long jobs, passed on.
    TGraphicProgress OnProgress;

    // The format registry, made on first use with the metafile, icon and bitmap entries.
    static TFileFormatsList& FileFormats();
    static void RegisterFileFormat(const std::string& extension, const std::string& description,
                                   TGraphicClass graphicClass);
    static void UnregisterGraphicClass(TGraphicClass graphicClass);

protected:
    void Changed();

private:
    template <typename T>
    T* GraphicOfClass();
    void ReplaceGraphic(std::unique_ptr<TGraphic> graphic);
    TGraphicProgress ForwardProgress();

    std::unique_ptr<TGraphic> graphic_;
};

// A unit's registration of its picture format for the life of the program: construct one as
// a static object in the unit's source file; it leaves the registry again at program end.
//     static TFileFormatRegistration gifFormat("GIF", "GIF Image", TGIFImage::StaticClass());
class TFileFormatRegistration {
public:
    TFileFormatRegistration(const std::string& extension, const std::string& description,
                            TGraphicClass graphicClass);
    ~TFileFormatRegistration();
    TFileFormatRegistration(const TFileFormatRegistration&) = delete;
    TFileFormatRegistration& operator=(const TFileFormatRegistration&) = delete;

private:
    TGraphicClass graphicClass_;
};
