# VYRN's folders, lowest first. Each folder is one static library that may use only the
# folders named after it; vyrn_check_layers fails the build on an include that reaches up.
set(VYRN_LAYERS platform state dialogs query history launch profile screenshots master settings app)
set(VYRN_USES_platform "")
set(VYRN_USES_state platform)
set(VYRN_USES_dialogs state platform)
set(VYRN_USES_query state platform)
set(VYRN_USES_history query dialogs state platform)
set(VYRN_USES_launch state platform)
set(VYRN_USES_profile dialogs state platform)
set(VYRN_USES_screenshots dialogs state platform)
set(VYRN_USES_master history query dialogs state platform)
set(VYRN_USES_settings history query dialogs state platform)
set(VYRN_USES_app settings master screenshots profile launch history query dialogs state platform)
