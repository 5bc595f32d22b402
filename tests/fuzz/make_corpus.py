#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets into corpus/<target>/, one file per edge case.

An input is: one byte for the number of names less one (with flag bits), each name as a length
byte (length - 1) and its bytes, then the content (see fuzz_case.h).
Run it from anywhere; it rewrites the seed folders.
"""
import os
import shutil

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


def main():
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
