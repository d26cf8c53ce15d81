-- The tutorial's lesson sequences: each value names the lesson script of
-- one sequence, created in this table's order at start-up. The lessons
-- arrive with the tutorial itself.
load = {}
