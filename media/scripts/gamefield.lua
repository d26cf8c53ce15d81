-- The board's parameters, read once when a board is built. Every key is
-- optional; a missing one keeps the game's default.
Parameters = {
    -- Columns and play rows; a spawn row lies above the play rows.
    gridWidth = 9,
    gridHeight = 9,
    -- Pixels per cell in board coordinates; the cell sprites are drawn at
    -- this size.
    cellSize = 80,

    -- Falling: a fall starts at 7.5 cells per second and speeds up by
    -- chipAcceleration cells per second squared.
    chipInitialMovingSpeed = 7.5,
    chipAcceleration = 20,
    -- Seconds the board holds still after a level has loaded.
    estimateSuspendTime = 0,
    maxChipOffset = 0.5,

    -- 1: every behaviour layer of a chip is drawn; 0: only the bottom one.
    drawBehaviors = 1,

    -- The glare band sweeping the chips: seconds between two passes, seconds
    -- it stays on one chip, and how much later it reaches each diagonal.
    chipHotspotPeriod = 5,
    chipHotspotAnimationSpeed = 1,
    chipHotspotDelayCoeff = 1,
    -- Seconds between two glares over the tiles.
    cellHotspotPeriod = 5,

    -- Idle seconds before the move hint shows.
    hintPeriod = 5,

    -- The landing wobble (cells, seconds) and the push around a blast.
    fallShaking = 0.08,
    fallShakingTime = 0.15,
    boomShakePower = 0.75,
    boomShakeTime = 0.6,

    -- The height of the score bar's flask, in pixels.
    progressbarFlaskHeight = 440,

    comboTimerInitialValue = 1,
    comboTimerAttenuation = 1,
}
