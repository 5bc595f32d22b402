// Contents of the text files of a generated game tree.
#include "bench/text_files.h"

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "bench/bytes.h"
#include "bench/random.h"

namespace {

using Words = std::vector<std::string_view>;

const Words& vocabulary() {
  static const Words words = {
      "stalker", "zone", "anomaly", "artefact", "weapon", "ammo", "outfit", "squad",
      "patrol", "camp", "trader", "base", "bar", "arena", "duty", "freedom", "bandit",
      "military", "monster", "psy", "radiation", "chemical", "electra", "fire", "gravi",
      "hit", "power", "speed", "immunity", "wound", "bleeding", "health", "satiety",
      "default", "normal", "heavy", "light", "night", "day", "rain", "storm", "clear",
      "escape", "garbage", "agroprom", "yantar", "radar", "pripyat", "stancia", "marsh",
      "visual", "sound", "anim", "idle", "walk", "run", "attack", "death", "spawn",
      "level", "object", "actor", "npc", "item", "slot", "belt", "knife", "pistol",
      "rifle", "shotgun", "grenade", "launcher", "scope", "silencer", "condition"};
  return words;
}

const Words& keys() {
  static const Words names = {
      "inv_name", "inv_name_short", "description", "inv_weight", "cost", "visual", "hud",
      "slot", "animation_slot", "fire_distance", "bullet_speed", "rpm", "hit_power",
      "hit_impulse", "hit_type", "ammo_class", "ammo_mag_size", "grenade_class",
      "position", "orientation", "fire_point", "shell_point", "snd_draw", "snd_holster",
      "snd_shoot", "snd_reload", "condition_shot_dec", "misfire_probability",
      "zoom_enabled", "scope_status", "silencer_status", "class", "cform", "ph_mass",
      "immunities_sect", "bone_name", "radius", "color", "fog_distance", "far_plane",
      "sun_color", "wind_velocity", "rain_density", "ambient", "hemi_color", "community",
      "rank", "reputation", "story_id", "level_name", "offset", "$spawn"};
  return names;
}

void append_word(std::string* out, Random& random) { out->append(random.pick(vocabulary())); }

// An identifier such as bandit_patrol or zone_fire_3.
void append_identifier(std::string* out, Random& random) {
  append_word(out, random);
  out->push_back('_');
  append_word(out, random);
  if (random.chance(30)) {
    out->push_back('_');
    append_number(out, random.below(20));
  }
}

void append_signed_decimal(std::string* out, Random& random) {
  append_decimal(out, static_cast<int64_t>(random.below(200000)) - 100000);
}

// The value of a configuration line: numbers, vectors, identifiers or paths.
void append_value(std::string* out, Random& random) {
  switch (random.below(7)) {
    case 0: append_number(out, random.below(5000)); break;
    case 1: append_signed_decimal(out, random); break;
    case 2:
      for (int i = 0; i < 3; ++i) {
        if (i > 0)
          out->append(", ");
        append_signed_decimal(out, random);
      }
      break;
    case 3: append_identifier(out, random); break;
    case 4:
      out->append("dynamics\\");
      append_word(out, random);
      out->push_back('\\');
      append_identifier(out, random);
      break;
    case 5:
      append_word(out, random);
      out->push_back('\\');
      append_identifier(out, random);
      break;
    default: out->append(random.chance(50) ? "true" : "false"); break;
  }
}

// One filler line: a key and value, a section header or a comment.
void append_config_line(std::string* out, Random& random) {
  size_t kind = random.below(20);
  if (kind == 0) {
    out->append("\r\n[");
    append_identifier(out, random);
    out->push_back(']');
    if (random.chance(50)) {
      out->push_back(':');
      append_identifier(out, random);
    }
  } else if (kind == 1) {
    out->append("; ");
    append_identifier(out, random);
    out->push_back(' ');
    append_word(out, random);
  } else {
    out->append(random.pick(keys()));
    out->append(1 + random.below(4), ' ');
    out->append("= ");
    append_value(out, random);
  }
  out->append("\r\n");
}

// A line naming `textures`: one on its own, or several as a list.
std::string texture_line(const std::vector<const Texture*>& textures, Random& random) {
  static const Words single = {"texture", "icon_texture", "bump_texture", "sky_texture",
                               "clouds_texture", "hud_texture", "scope_texture",
                               "wallmark_texture", "detail_texture", "$texture"};
  static const Words list = {"textures", "wallmarks", "sky_textures", "skins", "decals"};
  std::string line(textures.size() == 1 ? random.pick(single) : random.pick(list));
  line += " = ";
  for (size_t i = 0; i < textures.size(); ++i) {
    if (i > 0)
      line += random.chance(80) ? ", " : ",";
    line += textures[i]->name;
  }
  return line;
}

// `textures` cut into lines of one to five names.
std::vector<std::string> texture_lines(const std::vector<const Texture*>& textures,
                                       Random& random) {
  std::vector<std::string> lines;
  for (size_t i = 0; i < textures.size();) {
    size_t count = std::min(textures.size() - i, random.chance(60) ? 1 : random.between(2, 5));
    std::vector<const Texture*> group(textures.begin() + static_cast<ptrdiff_t>(i),
                                      textures.begin() + static_cast<ptrdiff_t>(i + count));
    lines.push_back(texture_line(group, random));
    i += count;
  }
  return lines;
}

// Fills `out` up to `size` bytes with lines from `filler`, putting each of
// `lines` (each followed by `line_end`) at a random place among them.
template <typename Filler>
void spread_lines(std::string* out, const std::vector<std::string>& lines, size_t size,
                  std::string_view line_end, Random& random, Filler filler) {
  std::vector<size_t> places;
  for (size_t i = 0; i < lines.size(); ++i)
    places.push_back(random.below(std::max<size_t>(1, size)));
  std::sort(places.begin(), places.end());
  size_t next = 0;
  while (out->size() < size || next < lines.size()) {
    if (next < lines.size() && places[next] <= out->size()) {
      out->append(lines[next++]);
      out->append(line_end);
    } else {
      filler(out);
    }
  }
}

std::string doubled_backslashes(std::string_view text) {
  std::string out;
  for (char c : text) {
    out.push_back(c);
    if (c == '\\')
      out.push_back('\\');
  }
  return out;
}

void append_script_function(std::string* out, Random& random) {
  out->append("function ");
  append_identifier(out, random);
  out->append("(npc, obj)\n\tlocal ");
  append_word(out, random);
  out->append(" = ");
  append_number(out, random.below(1000));
  out->append("\n\tif obj:section() == \"");
  append_identifier(out, random);
  out->append("\" then\n\t\tnpc:set_");
  append_identifier(out, random);
  out->append("(\"");
  append_identifier(out, random);
  out->append("\")\n\tend\nend\n\n");
}

void append_xml_element(std::string* out, Random& random) {
  out->append("\t<");
  append_identifier(out, random);
  out->append(" x=\"");
  append_number(out, random.below(1024));
  out->append("\" y=\"");
  append_number(out, random.below(768));
  out->append("\" width=\"");
  append_number(out, random.between(8, 512));
  out->append("\" height=\"");
  append_number(out, random.between(8, 512));
  out->append("\" stretch=\"1\"/>\r\n");
}

void append_shader_function(std::string* out, Random& random) {
  out->append("function ");
  append_identifier(out, random);
  out->append("(shader, t_base, t_second, t_detail)\n\tshader:begin(\"");
  append_identifier(out, random);
  out->append("\",\"");
  append_identifier(out, random);
  out->append("\")\n\t\t:fog(false)\n\t\t:zb(true,false)\n\tshader:sampler(\"s_base\")"
              ":texture(t_base)\nend\n\n");
}

void append_shader_line(std::string* out, Random& random) {
  static const Words lines = {
      "#include \"common.h\"\n",
      "uniform sampler2D s_base;\n",
      "uniform half4 L_ambient;\n",
      "\thalf4 t_base = tex2D(s_base, I.tc0);\n",
      "\treturn half4(t_base.rgb * I.c0.rgb, t_base.a);\n",
      "struct v2p\n{\n\tfloat2 tc0 : TEXCOORD0;\n\thalf4 c0 : COLOR0;\n};\n",
      "\tO.hpos = mul(m_VP, v.P);\n",
      "float4 main(v2p I) : COLOR\n{\n",
      "}\n\n"};
  out->append(random.pick(lines));
}

}  // namespace

std::string make_config(const FileRefs& refs, size_t size, LastLine last, Random& random) {
  std::string out;
  out.reserve(size + 4096);
  out.append("[");
  append_identifier(&out, random);
  out.append("]\r\n");
  spread_lines(&out, texture_lines(refs.body, random), size, "\r\n", random,
               [&random](std::string* text) { append_config_line(text, random); });
  if (!refs.end.empty()) {
    out.append(texture_line(refs.end, random));
    if (last == LastLine::kEnded)
      out.append("\r\n");
  }
  return out;
}

std::string make_texture_specs(const std::vector<Texture>& textures) {
  std::string out = "[texture_names]\r\n";
  for (const Texture& texture : textures) {
    out += texture.name + " = bump_mode[";
    out += texture.bump ? "use:" + texture.name + "_bump" : std::string("none");
    out += "], material[0.00]\r\n";
  }
  return out;
}

std::string make_script(const std::vector<const Texture*>& textures, size_t size,
                        Random& random) {
  std::vector<std::string> lines;
  for (const Texture* texture : textures)
    lines.push_back("\tstatic:InitTexture(\"" + doubled_backslashes(texture->name) + "\")");
  std::string out = "-- ";
  append_identifier(&out, random);
  out.append("\n\n");
  spread_lines(&out, lines, size, "\n", random,
               [&random](std::string* text) { append_script_function(text, random); });
  return out;
}

std::string make_ui_xml(const std::vector<const Texture*>& textures, size_t size,
                        Random& random) {
  std::vector<std::string> lines;
  for (const Texture* texture : textures)
    lines.push_back("\t<texture x=\"0\" y=\"0\" width=\"64\" height=\"64\">" + texture->name +
                    "</texture>");
  std::string out = "<?xml version=\"1.0\" encoding=\"windows-1251\" ?>\r\n<w>\r\n";
  spread_lines(&out, lines, size, "\r\n", random,
               [&random](std::string* text) { append_xml_element(text, random); });
  out.append("</w>\r\n");
  return out;
}

std::string make_shader_script(const std::vector<const Texture*>& textures, size_t size,
                               Random& random) {
  std::vector<std::string> lines;
  for (const Texture* texture : textures)
    lines.push_back("\tshader:sampler(\"s_detail\"):texture(\"" +
                    doubled_backslashes(texture->name) + "\")");
  std::string out;
  spread_lines(&out, lines, size, "\n", random,
               [&random](std::string* text) { append_shader_function(text, random); });
  return out;
}

std::string make_shader_source(size_t size, Random& random) {
  std::string out;
  while (out.size() < size)
    append_shader_line(&out, random);
  return out;
}
