-- Text presets of the interface: one table per preset, named in UI scripts
-- as "font_presets_lua:<table>". Fields left out take their defaults:
-- halign and valign 0 (left, top; 1 centre or middle, 2 right or bottom),
-- xcoeff and ycoeff 0 (extra letter and line spacing, in steps of 5
-- units), wordWrap 0, color {r, g, b, a} white, font "system_font_fnt".

-- Running text in windows and dialogs.
text = { font = "main_font_fnt", wordWrap = 1, ycoeff = 0.2 }
-- Window and dialog titles.
title = { font = "font2_fnt", halign = 1, valign = 1, color = { 255, 230, 150, 255 } }
-- Button captions.
button = { font = "main_font_fnt", halign = 1, valign = 1 }
-- Centred single lines: level names, results.
label = { font = "main_font_fnt", halign = 1, valign = 1, color = { 250, 245, 225, 255 } }
-- Scores, moves and other counters.
counter = { font = "font2_fnt", halign = 1, valign = 1, xcoeff = 0.2 }
-- Small print: hints, tips and notes under a control.
small = { font = "small_font_fnt", wordWrap = 1, color = { 225, 225, 235, 255 } }
-- Tooltips.
tooltip = { font = "small_font_fnt", halign = 1, valign = 1, wordWrap = 1, color = { 40, 30, 20, 255 } }
-- The tutorial hint bubble: centred, wrapped running text.
hint = { font = "main_font_fnt", halign = 1, valign = 1, wordWrap = 1, ycoeff = 0.2, color = { 58, 32, 14, 255 } }
