# The `cards` test fixture: an isolated pcscd with the project's vpcd readers and qvtoken-card,
# started once before the tests that need cards and stopped after them (scripts/with-cards).
# Those tests share one RESOURCE_LOCK, find pcscd through PCSCLITE_CSOCK_NAME and the virtual
# tokens the cards serve in QVTOKEN_STATE_DIR (emptied when the fixture starts).
set(QV_CARDS_DIR ${CMAKE_BINARY_DIR}/cards)
set(QV_CARDS_ENVIRONMENT
    "PCSCLITE_CSOCK_NAME=${QV_CARDS_DIR}/run/pcscd.comm;QVTOKEN_STATE_DIR=${QV_CARDS_DIR}/state")

add_test(NAME cards-start
         COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-cards --start --fresh --dir ${QV_CARDS_DIR}
                 --card $<TARGET_FILE:qvtoken-card>)
set_tests_properties(cards-start PROPERTIES FIXTURES_SETUP cards RESOURCE_LOCK cards LABELS e2e)
add_test(NAME cards-stop COMMAND ${PROJECT_SOURCE_DIR}/scripts/with-cards --stop --dir ${QV_CARDS_DIR})
set_tests_properties(cards-stop PROPERTIES FIXTURES_CLEANUP cards RESOURCE_LOCK cards LABELS e2e)

# Marks tests already added as needing the cards (label `cards`: scripts/stress-tests runs them).
function(qv_with_cards)
  set_tests_properties(${ARGN} PROPERTIES FIXTURES_REQUIRED cards RESOURCE_LOCK cards
                       ENVIRONMENT "${QV_CARDS_ENVIRONMENT}")
  set_property(TEST ${ARGN} APPEND PROPERTY LABELS cards)
endfunction()

# A GoogleTest executable whose tests all need the cards: one CTest entry (label e2e) runs them
# all. (Per-test discovery would lose the second variable of ENVIRONMENT: discovery writes the
# property list out again without its list separators.)
function(qv_card_gtest target)
  add_test(NAME ${target} COMMAND ${target})
  set_tests_properties(${target} PROPERTIES LABELS e2e)
  qv_with_cards(${target})
endfunction()
