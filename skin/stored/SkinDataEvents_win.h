#pragma once
// What a skin-data component tells the part of the engine that dresses the windows: it was
// made or is going, it asks for skinning to be switched on or off, or it loaded a new skin.
// The stored skins know nothing of who listens: the manager above them answers these calls.
class TSkinData;

namespace SkinDataEvents {

// A component made at run time (a listener is made for it when there is none).
void Made(TSkinData& data);
void Gone(TSkinData& data);
// Skinning switched on (true) or off for the process's windows.
void ActivationPosted(bool active);
// A main-form component decoded a new skin.
void SkinChanged(TSkinData& data);
// Any component's pictures were replaced by a decode: the handles of the old ones may come
// back for new pictures, so nothing may stay keyed on them.
void PicturesReplaced(TSkinData& data);

}  // namespace SkinDataEvents
