#pragma once

namespace s::resources {

// The language pack, UTF-8 XML.
inline constexpr char kPackType[] = "IDR_XML";
inline constexpr int kPackId = 130;

// The two texture images, JPEG: 700 x 230 and 230 x 700 pixels.
inline constexpr char kImageType[] = "IDR_JPG";
inline constexpr int kWideTextureId = 131;
inline constexpr int kTallTextureId = 132;

// The program's icon as an icon group: one ICO file with the images of 16, 32 and 64 pixels.
// Numbered resource types are written "#" and the number; 14 is the group-icon type.
inline constexpr char kGroupIconType[] = "#14";
inline constexpr int kApplicationIconId = 128;

}  // namespace s::resources
