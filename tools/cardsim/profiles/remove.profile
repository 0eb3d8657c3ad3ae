# The default card, pulled out of the reader after its third command.
atr 3B DB 96 00 80 B1 FE 45 1F 83 00 31 C0 64 C7 FC 10 00 01 90 00 74
remove-after 3
00 A4 04 00 *              => chain 6F 0E 84 08 A0 00 00 03 33 01 01 01 A5 02 88 01 90 00
00 84 00 00 08             => rand:8 90 00
*                          => 6D 00
