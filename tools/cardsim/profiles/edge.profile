# Answers that test the console's edge cases.
atr 3B 02 14 50

# SELECT answered 61 08, whose GET RESPONSE answers 61 04 again.
00 A4 04 00 05 A0 00 00 00 01 => 61 08
00 C0 00 00 08                => 61 04
# Unknown file
00 A4 04 00 05 A0 00 00 00 02 => 6A 82
# A response of a single byte
00 CA 00 01 00                => 90
# A response of 510 data bytes and 90 00 (the most the console's buffer holds)
00 B0 00 00 00                => seq:510 90 00
# A slow card
00 B2 01 04 00                => delay:300 01 02 90 00
*                             => 6D 00
