#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into corpus/<target>/, one file per edge case.

An input of the name searches is: one byte for the number of names less one (with flag bits),
each name as a length byte (length - 1) and its bytes, then the content (see fuzz_case.h).
An input of thumbnail_fuzz is one byte choosing the file's name (0: .dds, 1: .tga), then the
file: textures written by the bench's texsift_bench_texture, which is deterministic, and a few
shapes derived from them.
Run it from anywhere: make_corpus.py [TEXSIFT_BENCH_TEXTURE]; it rewrites the seed folders
(the default tool is the debug build's).
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))


def encode(names, content, flags=0):
    out = bytes([len(names) - 1 | flags])
    for name in names:
        assert 1 <= len(name) <= 16, name
        out += bytes([len(name) - 1]) + name
    return out + content


HEAD = b"act\\act_head"

# The matcher's cases: whole names, terminators, the leading skip and the end of the content.
MATCHER = {
    "full_stop_follows": ([HEAD], b"x act\\act_head.dds"),
    "underscore_follows": ([HEAD], b"act\\act_head_bump"),
    "byte_before_not_looked_at": ([HEAD], b"xact\\act_head,"),
    "name_ends_the_content": ([HEAD], b"act\\act_head"),
    "line_feed_follows": ([HEAD], b"act\\act_head\n"),
    "other_letter_case": ([HEAD], b"ACT\\act_head\r\n"),
    "short_name_hidden_by_skip": ([b"ab"], b"ab\x00\xff"),
    "top_bit_name_after_text": ([b"\xc4\xd6\xdc"], b"text \xc4\xd6\xdc."),
    "top_bit_name_after_ff": ([b"\xc4\xd6\xdc"], b"\xff\xff\xc4\xd6\xdc."),
    "top_bit_name_at_start": ([b"\xc4\xd6\xdc"], b"\xc4\xd6\xdc."),
    "short_name_near_the_end": ([b"aa"], b"aaa."),
    "one_byte_name_last_byte": ([b"a"], b"\x01\x02a"),
    "every_terminator": ([b"sky"] * 1, b"sky\x00sky\tsky\nsky\rsky sky,sky.sky\\sky]"),
    "non_terminators": ([b"sky"], b"sky_sky1sky\"sky/skyAsky"),
    "control_run_then_name": ([b"sky"], b"\x01\x02\x03\x04\x05\x06\x07\x08 sky\r\n"),
    "crlf_config_line": ([HEAD], b"texture = act\\act_head\r\n"),
    "zero_terminated_in_mesh": ([HEAD], b"\x01\x02\x03\x04mesh\x00act\\act_head\x00"),
    "empty_content": ([b"sky"], b""),
    "content_shorter_than_name": ([b"sky"], b"sk"),
}

# Catalogues for the one-pass searches: prefixes, suffixes, duplicates, backslashes.
CATALOGUES = {
    "prefix_pair": ([HEAD, b"act\\act_head_old"], b"x act\\act_head_old act\\act_head\r\n"),
    "prefix_pair_only_longer": ([b"act\\act_head_old", HEAD], b"act\\act_head_old"),
    "duplicates": ([b"sky", b"sky", b"sk", b"sky"], b"a sky,"),
    "backslash_in_names": ([b"act", HEAD, b"act\\"], b"act\\act_head act\\ "),
    "suffix_names": ([b"x\\b\\c", b"b\\c", b"\\c"], b"x\\b\\c."),
    "name_and_its_directory": ([b"wpn\\wpn_pm", b"wpn"], b"texture = wpn\\wpn_pm"),
    "mixed_short_and_top_bit": ([b"ab", b"a", b"\xc4\xd6\xdc", b"sky"], b"ab\x00\xff sky \xc4\xd6\xdc."),
}

# The compact scanner's cases: its windows, its jumps and its end of the content.
COMPACT = {
    "found_after_text": ([HEAD], b"xx act\\act_head.dds\r\n"),
    "found_at_start": ([HEAD], b"act\\act_head.dds\r\n"),
    "ff_window_passed": ([HEAD], b"\xff1234567xx act\\act_head.dds"),
    "eight_zero_bytes_passed": ([HEAD], b"\x00" * 8 + b"xx act\\act_head.dds"),
    "four_byte_window_passed": ([HEAD], b"\x00" * 4 + b"ab  act\\act_head.dds"),
    "longer_word_matches": ([HEAD], b"x act\\act_headgear"),
    "ends_at_the_end": ([HEAD], b"x act\\act_head"),
    "exactly_the_name": ([HEAD], b"act\\act_head"),
    "hidden_by_top_bit_window": ([b"sky"], b"\x80bc sky\r\n"),
    "after_top_bit_window": ([b"sky"], b"abcdefg\x80 sky here"),
    "after_twenty_letters": ([b"sky"], b"z" * 20 + b"sky\r\n\r\n"),
    "failed_candidates": ([b"abd"], b"abcabcabd...."),
    "candidate_then_match": ([b"sky"], b"sxsky is blue"),
    "candidate_past_the_end": ([b"abc"], b"xxab"),
}

# Names sharing length and first byte, which share one path of candidates in the compact search.
GROUPS = {
    "group_of_three": ([b"sky", b"sea", b"sun", b"act"], b"the sun, the sea and the sky"),
    "group_with_duplicate": ([b"sky", b"sky", b"sxy"], b"sxsky sxy"),
    "group_behind_windows": ([b"abc", b"abd"], b"\x00" * 4 + b"ab  abd \xff" + b"abc" * 3),
}

# The one-pass search: lengths sharing a first byte that part at passed windows, names that end
# the content, and (flag 0x40) a content repeated to 20 KB or more.
ONE_PASS = {
    "lengths_part_and_meet": ([b"sk", b"sky", b"sky_1", b"s"],
                              b"s\x01\x01\x01\x01sky sk" * 4 + b"sky_1 sky sk."),
    "lengths_behind_top_bit": ([b"ab", b"abc", b"abcd", b"abcde"],
                               b"ab\x80abc abcd\xffabcde " * 3 + b"abcde"),
    "names_end_the_content": ([b"a", b"ca", b"bca", b"abca"], b"\x01\x01\x01\x01xabca"),
    "long_and_short_names": ([b"act\\act_head_old", HEAD, b"act\\a"],
                             b"\x00" * 4 + b"act\\act_head_old\xff act\\act_head"),
    "repeated_to_20k": ([b"sky", b"skz", b"s"], b"\xffsky\x00\x00\x00\x00 sky.", 0x40),
}

TARGETS = {
    "find_name_fuzz": [MATCHER],
    "name_search_fuzz": [MATCHER, CATALOGUES],
    "compact_find_name_fuzz": [COMPACT],
    "compact_find_names_fuzz": [COMPACT, CATALOGUES, GROUPS, ONE_PASS],
}


# Textures for thumbnail_fuzz: kind, width, height, hue. Each with its whole mipmap chain, at most
# 44 KB (run.sh gives the target -max_len=65536); 256 by 128 and 160 by 100 are scaled to 128.
TEXTURES = [
    ("dxt1", 4, 4, 10), ("dxt1", 256, 128, 200), ("dxt1", 256, 256, 40), ("dxt5", 8, 8, 120),
    ("dxt5", 128, 64, 300), ("rgba32", 16, 16, 60), ("rgba32", 2, 1, 0), ("tga", 3, 2, 90),
    ("tga", 160, 100, 270),
]


def texture(tool, kind, width, height, hue):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, "t")
        subprocess.run([tool, path, kind, str(width), str(height), str(hue)], check=True)
        with open(path, "rb") as f:
            return f.read()


def as_dx10(dds):
    """The same DXT1 or DXT5 file with a DX10 header (DXGI format 71 or 77) in front of its data."""
    dxgi = {b"DXT1": 71, b"DXT5": 77}[dds[84:88]]
    header = dds[:84] + b"DX10" + dds[88:128]
    return header + struct.pack("<5I", dxgi, 3, 0, 1, 0) + dds[128:]


def as_rle_tga(tga):
    """The same 24-bit TGA run-length coded in raw packets of up to 128 pixels."""
    header, pixels = tga[:18], tga[18:]
    step = 128 * 3
    body = b"".join(bytes([len(pixels[i:i + step]) // 3 - 1]) + pixels[i:i + step]
                    for i in range(0, len(pixels), step))
    return header[:2] + b"\x0a" + header[3:] + body


def tga_header(width, height, image_type, bits):
    return struct.pack("<3B2HB4H2B", 0, 0, image_type, 0, 0, 0, 0, 0, width, height, bits, 0)


def thumbnail_seeds(tool):
    # Two files the fuzzer found: a run-length header that claims 2056 by 2056 pixels of an
    # 86-byte file, which stb_image would hold whole (16 MiB) unless the packets are counted first;
    # and a header cut a byte short, whose missing bytes stb_image reads as zeros.
    seeds = {"tga_rle_claims_more": b"\x01" + tga_header(2056, 2056, 10, 8) + b"\x08" * 67,
             "tga_header_cut_short": b"\x01" + tga_header(2080, 3584, 2, 16)[:17]}
    for kind, width, height, hue in TEXTURES:
        data = texture(tool, kind, width, height, hue)
        selector = b"\x01" if kind == "tga" else b"\x00"
        seeds[f"{kind}_{width}x{height}"] = selector + data
        if kind in ("dxt1", "dxt5") and width <= 128:
            seeds[f"{kind}_{width}x{height}_dx10"] = selector + as_dx10(data)
        if kind == "tga":
            seeds[f"tga_{width}x{height}_rle"] = selector + as_rle_tga(data)
    return seeds


# Descriptions for description_fuzz, laid out as real ones: a .thm is chunks of a little-endian
# u32 id, a u32 size and the data, the detail texture a zero-terminated name in chunk 0x815 and
# the bump one in chunk 0x817; textures.ltx is CR LF lines "key = value" in three sections.
def chunk(chunk_id, data):
    return struct.pack("<II", chunk_id, len(data)) + data


def thm(detail, bump):
    return (chunk(0x810, b"\x01\x00") + chunk(0x813, b"\x00" * 4) + chunk(0x812, b"\x00" * 32)
            + chunk(0x814, b"\x00" * 4) + chunk(0x815, detail + b"\x00" + struct.pack("<f", 6.0))
            + chunk(0x816, b"\x00" * 8)
            + chunk(0x817, struct.pack("<fI", 0.05, 2) + bump + b"\x00")
            + chunk(0x818, b"\x00") + chunk(0x819, b"\x00"))


def description_seeds():
    names = b"door\\door_bunker_1\ndetail\\detail_metall_01\ndoor\\door_bunker_1_bump\n\x00"
    ltx = (b"[association]\r\nact\\act_krovosos_1 = detail\\detail_metall_01,8.000000,"
           b"usage[diffuse_or_bump]\r\ndoor\\door_bunker_1 = "
           b"bump_mode[use:door\\door_bunker_1_bump],material[0.50]\r\n"
           b"detail\\detail_metall_01 = bump_mode[none]\r\n[types]\r\n$details = 0\r\n")
    return {
        "thm_own": b"\x02" + names + thm(b"detail\\detail_metall_01", b"door\\door_bunker_1_bump"),
        "thm_other": b"\x00" + names + thm(b"DETAIL/detail_metall_01", b"door\\door_bunker_1_bump"),
        "thm_no_detail": b"\x02" + names + thm(b"", b"door\\door_bunker_1_bump"),
        "ltx": b"\x01" + names + ltx,
    }


def main():
    here = os.path.join(HERE, "..", "..")
    tool = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "build", "debug",
                                                               "texsift_bench_texture")
    folder = os.path.join(HERE, "corpus", "thumbnail_fuzz")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for name, seed in thumbnail_seeds(tool).items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(seed)
    folder = os.path.join(HERE, "corpus", "description_fuzz")
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    for name, seed in description_seeds().items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(seed)
    for target, tables in TARGETS.items():
        folder = os.path.join(HERE, "corpus", target)
        shutil.rmtree(folder, ignore_errors=True)
        os.makedirs(folder)
        for table in tables:
            for name, case in table.items():
                with open(os.path.join(folder, name), "wb") as out:
                    out.write(encode(*case))


if __name__ == "__main__":
    main()
