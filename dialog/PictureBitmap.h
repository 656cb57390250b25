#pragma once

class CBitmapEx;
class CPicture;

// Replaces the target's bitmap with a screen-compatible bitmap of the picture's size
// that shows the picture; false when the picture holds no bitmap.
bool RenderPictureToBitmap(CBitmapEx* target, const CPicture& picture);
