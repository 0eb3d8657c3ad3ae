# A plausible contact card (T=0 and T=1). Rules are tried in order; the first match answers.
atr 3B DB 96 00 80 B1 FE 45 1F 83 00 31 C0 64 C7 FC 10 00 01 90 00 74

# SELECT by name: the FCI comes through response chaining (61 10, then GET RESPONSE).
00 A4 04 00 *              => chain 6F 0E 84 08 A0 00 00 03 33 01 01 01 A5 02 88 01 90 00
# SELECT of a file by identifier
00 A4 00 00 02 3F 00       => 90 00
00 A4 *                    => 6A 82
# GET CHALLENGE: fresh random bytes each time
00 84 00 00 08             => rand:8 90 00
00 84 00 00 *              => 67 00
# READ BINARY of the current file
00 B0 00 00 10             => seq:16 90 00
00 B0 *                    => 6B 00
# GET RESPONSE with nothing pending
00 C0 *                    => 6F 00
# Any other instruction of the interindustry class
00 *                       => 6D 00
*                          => 6E 00
