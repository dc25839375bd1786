#pragma once
// The ruler menu's unit and placement commands.
namespace plumbo {

void mMenuSetMill_Click();
void mMenuSetInch1Per8_Click();
void mMenuSetInch1Per10_Click();
void mMenuSetPixel_Click();
void mMenuSetShowIn_Click();
void mMenuSetShowOut_Click();



}  // namespace plumbo
