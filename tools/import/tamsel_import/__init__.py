"""Imports mail (mbox, Maildir, .eml), calendars (.ics) and address books (.vcf) into a
client database through zrb, as notes of the forms the client's own templates write."""
