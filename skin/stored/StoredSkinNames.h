#pragma once
// The program's seven stored skins, in the store's order: each store item's name (also the
// name of the RCDATA resource that carries its bytes) and the skin's own name.
namespace StoredSkins {
constexpr int Count = 7;
inline constexpr const char* ItemNames[Count] = {"SkinItem6", "SkinItem12", "SkinItem1", "SkinItem7",
                                                 "SkinItem8", "SkinItem2",  "SkinItem11"};
inline constexpr const char* SkinNames[Count] = {"蓝色心情", "WinXP风格", "青色丛林", "绿色田野",
                                                 "灰色城堡", "银色世界", "戈壁沙滩"};
}  // namespace StoredSkins
