# A card whose ATR (33 bytes) is longer than the console's ATR buffer.
atr 3B FF 96 11 00 F1 00 00 FF F1 00 00 00 71 00 00 00 80 31 80 65 B0 84 56 51 10 12 0F FE 82 90 00 70
00 A4 04 00 *              => chain 6F 02 84 00 90 00
*                          => 6D 00
