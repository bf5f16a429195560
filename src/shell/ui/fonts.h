#pragma once

// The Chinese font names the windows ask for (宋体, 黑体) mapped onto the installed Noto CJK fonts,
// and the application's default font.
namespace fonts {
void install();
}
