// Decimal rounding of feature values, half away from zero.
//
// A value is rounded as the decimal number it stands for, not as its binary approximation:
// 2.675 is stored as 2.67499999999999982236431605997495353221893310546875, yet dCBRound
// gives 2.68. The scaled value |x| * 10^n counts as a half when it lies within 16 units in the
// last place (a relative 2^-48) below one; this covers the representation error of x and
// of the scaling plus a little arithmetic noise, and is far below any difference a user
// could have meant. The result is the quotient k / 10^n, the double nearest to the decimal.
//
// NaN and infinities are returned unchanged, and so is any value with |x| > 1e15 (or whose
// scaled value reaches 2^52, where a double holds no finer digits). A result of zero is
// always +0.0, so that displays never show "-0.00".
#pragma once

// Rounds to 4 decimal places.
double dZRRound(double x);

// Rounds to 2 decimal places.
double dCBRound(double x);
