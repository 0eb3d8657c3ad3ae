# Builds reference/sample.trace from the file format alone, independently of the C++ code that saves logs:
#   python3 tests/trace/reference/make_reference.py > tests/trace/reference/sample.trace
# The lines must stay those of tests/trace/TraceBytes_test.cpp.
import sys
lines = [(1, "连接成功！"), (2, "ATR: 3B8F8001804F0CA000000306030001000000006A"), (3, ""),
         (4, "发送: 00A4040007A0000000031010"), (5, "接收: 6F1A840E315041592E5359532E4444463031A5088801025F2D027A689000"),
         (6, "0123456789ABCDEF" * 19), (123456, "结束 @@ 〇")]
out = bytearray()
for n, text in lines:
    t = text.encode("gbk")
    rec = b"<--" + ("第%d条 " % n).encode("gbk") + t + (" @@ %d -->\n" % len(t)).encode("gbk")
    if len(rec) < 0xFF:
        out += bytes([len(rec)])
    else:
        assert len(rec) < 0xFFFE
        out += bytes([0xFF, len(rec) & 0xFF, len(rec) >> 8])
    out += rec
sys.stdout.buffer.write(out)
