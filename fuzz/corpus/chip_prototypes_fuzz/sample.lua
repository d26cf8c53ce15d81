ChipPrototypes = {
    { Name = "Simple", DropRate = 1, GamePoints = 10,
      Behavior = { { Name = "Simple", MultipleColors = 1, score = 20, onDestroySound = "chip_destroy_sound",
                     OnIdleDrawables = { { "Sprite", "chips_lua", "plain" }, { "Scene", "s_xml", "idle_%s(0.5);x", 3, 1 } } } } },
    { Name = "Bomb", Behavior = { { Name = "BombStage1", MultipleColors = 1, OnDestroyActions = { "Boom", "AddBehavior:BombStage2" } } } },
    { Name = "Wall", Selector = "AllChipsSameGroupSelector", DropRate = "2",
      Behavior = { "x", { Name = "Wall", CanFalling = 0, CanIterateWithGroup = 0, LevelGoal = 1 }, { Name = "DWall" } } },
    { Name = "Timer", Behavior = { { Name = "Simple", OnIdleActions = { "DestroyTimer:2.5", 42 } } } },
}
