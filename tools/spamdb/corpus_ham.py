"""Sentence banks of the good-mail corpus: newsletters people subscribed to."""

FIRST_NAMES = ["Anna", "Ben", "Clara", "David", "Emma", "Frank", "Grace", "Henry", "Isla", "Jack", "Karen",
               "Liam", "Maya", "Noah", "Olivia", "Peter", "Rosa", "Sam", "Tessa", "Victor", "Wendy", "Yusuf"]
LAST_NAMES = ["Archer", "Bennett", "Collins", "Dawson", "Ellis", "Fletcher", "Gray", "Hughes", "Irving",
              "Jennings", "Knight", "Lawson", "Morgan", "Norris", "Owens", "Palmer", "Reed", "Shaw", "Turner",
              "Walsh"]
TOWNS = ["Millbrook", "Ashford", "Kingsley", "Riverton", "Oakham", "Fairview", "Hollybank", "Westmere",
         "Stonebridge", "Lakeside"]
DAYS = ["Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"]
MONTHS = ["January", "February", "March", "April", "May", "June", "July", "September", "October",
          "November", "December"]
TIMES = ["10 am", "2 pm", "6.30 pm", "7 pm", "7.30 pm", "9.30 am", "11 am", "3 pm"]

FOOTERS = [
    "You are receiving this newsletter because you subscribed on our website. If you no longer wish to hear "
    "from us, use the unsubscribe link at the bottom of this email.",
    "You can update your preferences or unsubscribe at any time using the links below.",
    "This email was sent to members and friends who asked to receive our news. Reply to this message if you "
    "have any questions.",
    "Forward this newsletter to a friend who might enjoy it. Not interested any more? Unsubscribe here.",
    "Our postal address: {org}, {num} High Street, {town}. We never share your details with anyone.",
    "If this email does not display properly, view it in your browser.",
    "You received this message because you joined our mailing list. To be removed, reply with the word "
    "unsubscribe in the subject line and we will take you off the list within a few days.",
    "We send this newsletter once a month. If you would rather stop receiving it, click the unsubscribe link "
    "and you will not hear from us again.",
    "Please do not reply to this automated message; write to the secretary instead. Information about how we "
    "handle your data is on our website.",
    "This newsletter contains no advertising. Further information about {org} is available on request.",
    "",
    "",
]

# Housekeeping lines that any newsletter may carry.
COMMON = [
    "If you have any questions about your order or booking, our customer service team is happy to help.",
    "You can log in to your member account on the website to update your address or change your password.",
    "Payment can be made by card, by bank transfer or in cash, and receipts are sent by email.",
    "The booking form is on our website; please fill it in and submit it by {day} {date} {month}.",
    "We cannot always reply to every message straight away, but we read them all.",
    "Could you let us know by the end of the month whether you are able to attend?",
    "Thank you to everyone who completed our short survey; we received over two hundred responses.",
    "Please note that the office is closed on {day} {date} {month}, and messages will be answered the following day.",
    "Full details, including prices and opening times, are on our website.",
    "Any further questions can be sent to the secretary, who will be pleased to help.",
    "Places are limited, so we recommend booking early to avoid disappointment.",
    "Our privacy notice explains how we keep your personal information safe; we never sell it to anyone.",
    "We were delighted to see so many of you at the last event, and we hope to see you again soon.",
    "Remember to check your spam folder if our emails have stopped arriving.",
    "If you would like to receive this newsletter by post instead, please let us know.",
    "The annual subscription remains the same this year, and the membership form can be downloaded from the website.",
    "Forms should be returned to the office by {day}, either in person or by email.",
    "We would be grateful if you could share this news with your friends and neighbours.",
    "Please keep an eye on the website for any changes, especially if the weather turns bad.",
    "There is no need to reply if you have already signed up.",
    "Today we also want to thank our volunteers, without whom none of this would be possible.",
    "Whether you are new to the area or have lived here all your life, you are very welcome.",
    "Please allow a few extra minutes for parking, as the roads will be busy.",
    "Programmes will be available at the door, and there is a small charge for refreshments.",
]

# Each kind of mail adds its own greetings to these.
GREETINGS = ["Dear {first},", "Hello {first},", "Hi everyone,", "Dear friends,", "Hi {first},",
             "Good morning,", "Hello all,",
             "Greetings from {town},"]

SIGN_OFFS = ["Best wishes,", "Kind regards,", "Warm regards,", "See you soon,", "Thank you,", "All the best,",
             "Cheers,", "With thanks,", "Sincerely,",
             "Yours faithfully,", "Regards,", "Best regards,"]

CATEGORIES = {
    "club": {
        "greetings": ["Dear members,", "Dear fellow members,"],
        "org": ["{town} Running Club", "{town} Tennis Club", "{town} Garden Society", "{town} Chess Club",
                "{town} Camera Club", "{town} Rowing Club", "{town} Walking Group", "{town} Choir"],
        "subjects": [
            "{org} news for {month}", "Club newsletter: {month} update", "Fixtures, results and the summer social",
            "Your {month} club bulletin", "AGM reminder and committee news", "What's on at the club this month",
        ],
        "body": [
            "Our annual general meeting takes place on {day} {date} {month} at {time} in the clubhouse, and every member is welcome to attend.",
            "The committee has agreed the membership fees for next season, which stay the same as last year.",
            "Congratulations to everyone who took part in the county league match last weekend; we finished third out of twelve teams.",
            "Training sessions move to the new timetable from {day}, so please check the notice board before you set off.",
            "We are looking for two volunteers to help with the refreshments at the open day, even an hour makes a real difference.",
            "The summer social is booked for {day} {date} {month}; tickets include a buffet supper and cost the same as last year.",
            "A big thank you to {first} {last}, who has looked after the club website for five years and is now handing it over.",
            "Beginners' sessions start again on {day} evenings, so bring a friend who has always wanted to give it a try.",
            "The car park will be closed for resurfacing during the first week of {month}; please use the field entrance instead.",
            "Photographs from the spring outing are now in the members' gallery, and many thanks to everyone who sent theirs in.",
            "Subscriptions are due at the end of the month and can be paid by bank transfer or in cash at the bar.",
            "Our coaches have put together a short guide to warming up properly, which you will find attached to this email.",
            "The minutes of the last committee meeting are available on request from the club secretary.",
            "We welcome eleven new members this month and hope they enjoy their first season with us.",
            "The club shop now stocks the new shirts in all sizes, and members receive a small discount as usual.",
            "Weather permitting, the Sunday group ride leaves the square at {time} and stops for coffee halfway.",
            "The clubhouse kitchen has been repainted by a team of volunteers over two weekends, and it looks wonderful.",
            "Please remember to sign the visitors' book if you bring a guest to any of our evenings.",
            "Results from the autumn competition are listed on the website, with the winners' photographs.",
            "If you have ideas for next year's programme of talks, please have a word with any committee member.",
            "The raffle at the summer social raised money for new equipment, and the lucky winner of the first prize was {first} {last}.",
            "Our juniors play their first match of the season on {day}, so come down and watch if you can.",
            "Entries for the club championship close at midnight on {day}; the entry fee is the same as last year.",
            "Members are reminded that your membership expires at the end of {month} unless you renew.",
            "A huge thank you to the thousands of spectators who came to the open race and made it such a success.",
        ],
    },
    "shop": {
        "greetings": ["Dear customer,", "Dear {first},"],
        "org": ["{last}'s Bakery", "The {town} Bookshop", "{town} Cycle Works", "{last} & Sons Hardware",
                "The Corner Deli", "{town} Garden Centre", "Little Acorn Toys", "{last}'s Wine Cellar"],
        "subjects": [
            "New in store this {month}", "Our {month} newsletter", "Late opening and new arrivals",
            "Spring collection has arrived", "Thank you for shopping local", "News from the shop floor",
            "Workshop dates and seasonal offers",
        ],
        "body": [
            "Our opening hours change from {day} {date} {month}: we now open at 8 am on weekdays and close at 6 pm.",
            "This month we are stocking bread from a small mill just outside {town}, and the rye loaf has already sold out twice.",
            "The new autumn titles have arrived, including the latest novels from several of your favourite authors.",
            "Loyalty card holders get ten percent off all gardening tools until the end of the month.",
            "Our repair workshop can now service electric bikes, and bookings can be made in store or by phone.",
            "We are hosting a free tasting on {day} evening from {time}, with cheeses from three local dairies.",
            "Gift vouchers are available in any amount and can be used both in the shop and online.",
            "Please note that the shop will be closed on {day} {date} {month} for stocktaking.",
            "Our children's reading corner has been refurbished, and story time is back on {day} mornings at {time}.",
            "We have extended our delivery area to the villages around {town}, and orders over a certain amount travel free.",
            "The seed potatoes and onion sets are in, so it is a good time to plan the vegetable patch.",
            "Thanks to your feedback, we now offer gluten-free cakes every day rather than only at weekends.",
            "Our staff pick of the month is a cookery book that celebrates simple food from the coast.",
            "Paint, brushes and rollers are reduced this week while we make room for the new stock.",
            "You can now reserve items on our website and collect them from the counter the same afternoon.",
            "A reminder that we recycle old batteries and light bulbs; just bring them to the till.",
            "Our winter opening hours are on the door and on the website, and we will post any changes there first.",
            "The shop cat has settled in well and now greets most customers at the door.",
            "Pre-orders for festive hampers open next week; last year they sold out early, so do not leave it too late.",
            "We are proud to have been a family business on the high street for over forty years.",
            "Orders placed before 2 pm are delivered the next working day, and shipping is free over a certain amount.",
            "Each order comes with a tracking number, so you can see exactly when your parcel will arrive.",
            "If anything is not right, you can return it within thirty days for a full refund.",
            "Quality matters to us, which is why we only stock tools that come with a proper warranty.",
            "Our bread is not the cheapest in town, but it is baked by hand every morning, and we think you can taste the difference.",
            "We now ship worldwide, so friends and family abroad can enjoy our teas and biscuits too.",
            "Members of our loyalty scheme get an exclusive preview of the sale one day before everyone else.",
            "The promotion runs until {day}, and every purchase enters you into our prize draw for a hamper.",
        ],
    },
    "product": {
        "greetings": ["Dear customer,", "Hello there,"],
        "org": ["Notewise", "TaskPilot", "Brightline Photo", "Ledgerly", "Paperleaf", "Trailmap", "SoundNest",
                "CloudShelf"],
        "subjects": [
            "{org} version {ver} is here", "What's new in {org} this month", "{org} product update",
            "Release notes: {org} {ver}", "Improvements you asked for", "Scheduled maintenance and new features",
        ],
        "body": [
            "Version {ver} is rolling out over the next few days, and the update will install automatically the next time you start the app.",
            "You can now export your notes as plain text or as a formatted document from the file menu.",
            "We fixed a problem where the calendar view sometimes showed events one day late for users in some time zones.",
            "Syncing between your phone and your computer is now noticeably faster, especially for large folders.",
            "Dark mode has been redesigned with better contrast, following many helpful comments from our users.",
            "Scheduled maintenance will take place on {day} {date} {month} between 2 am and 4 am; the service may be briefly unavailable.",
            "The new search bar finds words inside attached documents as well as in titles.",
            "We have updated our privacy policy to explain more clearly which data we keep and for how long.",
            "Keyboard shortcuts can now be changed in the settings, and the full list is in the help pages.",
            "Shared projects show who made the last change, and you can restore any earlier version from the history.",
            "This release drops support for very old versions of the operating system; please see the help pages for details.",
            "Thank you to everyone who joined the beta test and sent us reports; several of the fixes came straight from you.",
            "Printing now respects your page margins and no longer cuts off the last line of a table.",
            "Our support team has written a short tutorial on organising projects with tags, linked in the help centre.",
            "Offline mode keeps your last week of changes on the device and uploads them when you are back online.",
            "The mobile app has a new widget that shows your next three tasks on the home screen.",
            "If you run into any problem after updating, reply to this email and a member of the team will help you.",
            "Accessibility improvements include larger touch targets and full support for screen readers.",
            "Team accounts can now invite guests who see only the folders you choose.",
            "We are also retiring the old import tool, since the new one handles every format it did and more.",
            "For your protection, we now send an alert when your account is used on a new device, so that you can confirm it was you.",
            "If we detect unusual activity, we temporarily pause syncing until you sign in again.",
            "Two-step sign-in keeps your identity secure even if someone learns your password.",
            "The app is now much faster to open, taking only a few seconds even with thousands of notes.",
            "Please confirm your email address by clicking the link in the message we sent when you registered.",
            "There is zero change to your subscription price, and the update is included for every user.",
            "We fixed a bug detected in the last release that sometimes caused the app to close while saving.",
            "Reports show the total time spent on each project, and you can export them for your invoices.",
            "Private folders are visible only to you, even inside a shared team account.",
        ],
    },
    "event": {
        "greetings": ["Dear Sir or Madam,", "Dear friends of {org},"],
        "org": ["{town} Arts Festival", "{town} Folk Society", "The Old Mill Theatre", "{town} Farmers' Market",
                "{town} Historical Society", "Riverside Gallery", "{town} Film Club", "St Mary's Concert Series"],
        "subjects": [
            "You're invited: {event} on {day} {date} {month}", "Save the date: {event}", "Join us for {event}",
            "{event}: programme and tickets", "This weekend at {org}", "Invitation to our open evening",
        ],
        "body": [
            "We would be delighted to welcome you to {event} on {day} {date} {month}, starting at {time}.",
            "Doors open half an hour before the start, and light refreshments will be served in the foyer.",
            "Tickets are available from the box office, and members may book two seats at the reduced price.",
            "The programme includes music by local composers, performed by the {town} String Quartet.",
            "Our guest speaker, {first} {last}, will talk about the history of the old canal and the mills along it.",
            "The exhibition runs for three weeks and is open every day except Monday.",
            "Please let us know by {day} if you are coming, so that we can plan the seating and catering.",
            "The venue has step-free access, and a hearing loop is available in the main hall.",
            "Stalls will sell local honey, cheese, bread, plants and crafts, and there will be activities for children.",
            "Parking is limited, so we recommend walking, cycling or taking the bus, which stops right outside.",
            "After the screening there will be a short discussion with the director, followed by drinks.",
            "Entry is free, although we welcome donations towards the restoration of the building.",
            "We are grateful to our sponsors and to the volunteers who make every season possible.",
            "If the weather is poor, the outdoor part of the day will move into the marquee.",
            "A limited number of workshop places are still available; booking is essential.",
            "The full programme for the season, with dates and times, is on our website.",
            "Families are welcome, and children under twelve go free when accompanied by an adult.",
            "This year's theme is the river, and artists from across the region have responded to it in many ways.",
            "We hope to see many familiar faces, and new ones too.",
            "You do not need to register in advance, just turn up on the day, although there may be a short wait at the door.",
            "The matinee performance is at {time}, and tickets can be collected from the box office on the day.",
            "The winners of the photography competition will be announced at the opening, and every entry will be on display.",
            "This is a rare opportunity to see the collection before it goes on tour.",
            "Parents are welcome to stay and watch the children play in the final act.",
        ],
        "event": ["the spring concert", "our open studio weekend", "the harvest supper", "a talk on local history",
                  "the summer fair", "the opening night of our new exhibition", "a folk evening",
                  "the annual book sale", "a film night under the stars"],
    },
    "school": {
        "greetings": ["Dear parents and carers,", "Dear families,"],
        "org": ["{town} Primary School", "St Anne's School", "{town} Academy", "Hollybank Nursery",
                "{town} Community College"],
        "subjects": [
            "Weekly newsletter for parents", "Term dates and important reminders", "News from the classroom",
            "Parents' evening and the school trip", "End of term newsletter", "A message from the head teacher",
        ],
        "body": [
            "Parents' evening will be held on {day} {date} {month}, and appointment slots can be booked through the school office.",
            "Year five visited the science museum last week and came back full of questions about electricity.",
            "Please make sure that every item of uniform, including coats and water bottles, is labelled with your child's name.",
            "The school will close at 1.30 pm on the last day of term; the breakfast club runs as usual in the morning.",
            "Thank you to the parents' association, who raised enough at the summer fair to buy new books for the library.",
            "Flu vaccinations for reception to year six take place on {day}; consent forms must be returned by Friday.",
            "We have noticed more cars parking on the zig-zag lines at pick-up time; please help us keep the children safe.",
            "The school choir will sing at the care home in {town} next month, and they have been rehearsing hard.",
            "Our reading challenge starts next week, and every child who reads twenty books will receive a certificate.",
            "Swimming lessons for year three continue on {day} afternoons; please send a towel and a swimming cap.",
            "Term dates for next year are now on the website, including the staff training days.",
            "A reminder that children should not bring mobile phones to school unless they walk home alone.",
            "Lost property will be on display in the hall on {day}; anything not collected goes to the charity shop.",
            "The sports day results are in, and Blue House won by a single point after the final relay.",
            "We warmly welcome {first} {last}, who joins us as our new teaching assistant in year two.",
            "If your contact details have changed, please let the office know so that we can reach you in an emergency.",
            "Homework club meets in the library on {day} after school and is open to every pupil in years five and six.",
            "School dinners are changing to the new menu after half term; a copy is attached to this newsletter.",
            "Year six have been selected to represent the town in the regional quiz, and we wish them the best of luck.",
            "Please apply for secondary school places online before the deadline; the process only takes a few minutes.",
            "Children should not bring money to school, as all payments are now made through the online system.",
            "The school play will be performed on {day} and {day} evening, and tickets are free but required.",
            "Action is needed on one matter: several permission slips for the trip are still missing.",
            "Internet safety is the theme of our next assembly, and we will share a short guide for parents afterwards.",
        ],
    },
    "charity": {
        "greetings": ["Dear supporter,", "Dear friends,"],
        "org": ["{town} Food Bank", "Friends of {town} Hospital", "Second Chance Animal Rescue", "{town} Hospice",
                "River Care Volunteers", "Books for Every Child", "{town} Community Trust"],
        "subjects": [
            "Thank you for your support this year", "Our {month} update for supporters", "Volunteers needed",
            "How your donations helped", "Annual report and news", "Can you help this winter?",
        ],
        "body": [
            "Thanks to your generosity, the food bank handed out more than two thousand parcels over the winter months.",
            "Our volunteers collected forty bags of litter from the riverbank during the spring clean-up.",
            "We are looking for drivers who can spare a morning a month to collect donations from local supermarkets.",
            "The sponsored walk raised a wonderful sum, which will pay for a new bed for the children's ward.",
            "Our annual report is now available, showing how every pound was spent during the year.",
            "Eleven dogs and six cats found new homes this month, and each of them is settling in well.",
            "If you are a taxpayer, adding gift aid to your donation increases its value at no extra cost to you.",
            "The charity shop on Market Street always welcomes donations of clothes, books and household items in good condition.",
            "Our coffee morning on {day} {date} {month} starts at {time} in the church hall, with cakes baked by volunteers.",
            "We have been awarded a small grant to run reading sessions in three primary schools in {town}.",
            "Volunteer training takes place on {day} evening; no experience is needed, only a friendly smile.",
            "Every donation, large or small, helps us support families in our community.",
            "The hospice garden has been replanted by a group of local gardeners, and patients enjoy it every day.",
            "We would love to hear why you support us; reply to this email if you would like to share your story.",
            "The trustees meet quarterly, and the minutes are published on our website.",
            "Our winter appeal aims to provide warm coats and blankets for people sleeping rough in the town.",
            "Thank you to {first} {last}, who ran the city marathon in our colours and raised funds for the rescue centre.",
            "You can also support us by choosing us as your charity when you shop with the online stores listed on our website.",
            "Thousands of pounds were raised at the fun run, and every penny will go directly to the hospice.",
            "The money you donate pays for food, fuel and medicine for animals waiting for a new home.",
            "Your support makes a huge difference; thank you for everything you do.",
            "We were able to accept every family who asked for help this winter, which was not the case last year.",
            "The charity's accounts are independently checked, and a summary is included in the annual report.",
            "If you would like to become a trustee, we would be delighted to hear from you.",
        ],
    },
    "recipe": {
        "greetings": ["Hello bakers,", "Hi cooks,"],
        "org": ["The Weekday Kitchen", "Bread and Butter Notes", "Green Plate", "Sunday Roast Club",
                "Little Spoon Recipes"],
        "subjects": [
            "This week's recipe: {dish}", "Three easy dinners for busy evenings", "{dish} and a seasonal salad",
            "From our kitchen to yours", "Baking weekend: {dish}", "What to cook with {vegetable}",
        ],
        "body": [
            "This week's recipe is {dish}, which takes about forty minutes and feeds four people.",
            "Start by softening a chopped onion in a little olive oil over a low heat until it turns golden.",
            "Add two cloves of garlic, a teaspoon of cumin and a tin of chopped tomatoes, then simmer for twenty minutes.",
            "Roast the {vegetable} with thyme, salt and pepper at 200 degrees until the edges begin to caramelise.",
            "For the dressing, whisk lemon juice, mustard, honey and olive oil, then season to taste.",
            "Fold the flour into the butter and sugar gently, so the sponge stays light.",
            "If you do not have buttermilk, stir a spoonful of lemon juice into ordinary milk and leave it for ten minutes.",
            "Leftovers keep well in the fridge for two days and taste even better the next day.",
            "Serve with crusty bread or a bowl of rice, and a green salad on the side.",
            "Many of you asked for a vegetarian version, so swap the chicken for chickpeas and add a handful of spinach.",
            "The dough should be soft and slightly sticky; knead it for ten minutes until it springs back when pressed.",
            "{vegetable} is in season now, which is when it is cheapest and has the most flavour.",
            "Thank you for all the photos of last week's pie, and some of you made it look better than ours.",
            "Our tip of the week: toast spices in a dry pan for a minute before you add them, and the flavour doubles.",
            "Next week we will share a simple recipe for homemade stock, which makes soups taste so much better.",
            "Let the cake cool in the tin for ten minutes before turning it out onto a rack.",
            "You can prepare the sauce a day ahead and keep it covered in the fridge.",
            "Scatter fresh herbs over the top just before serving.",
            "Keep the heat low and the lid on, and the sauce will be ready in about twenty minutes.",
            "Double the quantities and freeze half, and you will thank yourself on a busy evening.",
            "A quick weeknight dinner does not have to be expensive; this one costs very little per portion.",
            "My grandmother made this every Sunday, and the smell still takes me straight back to her kitchen.",
            "If you are watching your weight, use half the butter and add more vegetables; it is still delicious.",
        ],
        "dish": ["lentil and tomato soup", "lemon drizzle cake", "chicken and leek pie", "vegetable curry",
                 "banana bread", "roast vegetable lasagne", "apple crumble", "mushroom risotto",
                 "fish cakes with herbs", "oat and raisin cookies"],
        "vegetable": ["squash", "beetroot", "asparagus", "carrots", "cauliflower", "sweet potatoes", "courgettes",
                      "leeks"],
    },
    "community": {
        "greetings": ["Dear residents,", "Dear neighbours,"],
        "org": ["{town} Residents' Association", "{town} Library", "{town} Parish Council", "Friends of {town} Park",
                "{town} Allotment Society", "{town} Museum"],
        "subjects": [
            "Community news for {month}", "Library events this month", "Park clean-up and other news",
            "Your neighbourhood newsletter", "Meeting notes and upcoming dates", "New opening hours and events",
        ],
        "body": [
            "The library's new opening hours start on {day}, with late opening until 7 pm on Thursdays.",
            "Our next public meeting is on {day} {date} {month} at {time} in the village hall; everyone is welcome.",
            "The council has confirmed that the footpath by the river will be repaired before the summer.",
            "Volunteers are meeting in the park on {day} morning to plant bulbs; gloves and tools are provided.",
            "The museum's new exhibition tells the story of the town's market through photographs and objects.",
            "Plots are available at the allotments, and the waiting list is shorter than it has been for years.",
            "The book group is reading a novel set on the coast this month and meets on the first Tuesday.",
            "The bus timetable changes next month; copies are available at the library desk.",
            "Please report broken street lights and potholes through the council website.",
            "Digital help sessions for anyone who wants support with tablets, phones or online forms run every {day}.",
            "The summer reading challenge for children begins when the schools break up.",
            "A big thank you to everyone who came to the litter pick, and we filled more bags than ever.",
            "The planning application for the old garage site will be discussed at the next meeting.",
            "The community orchard needs help with pruning this winter; no experience is necessary.",
            "Local history talks continue on the last {day} of each month, with tea and biscuits afterwards.",
            "We are collecting memories of the old cinema for a small display, so please get in touch if you have photographs.",
            "The hall can be hired for parties and meetings at a reasonable rate; ask the booking secretary.",
            "Our thanks go to the local businesses who sponsored the hanging baskets on the high street.",
            "The council's planning department has approved the new play area, and work starts in the spring.",
            "Calls about the new parking scheme should go to the council, as we are not able to answer them.",
            "Please remove your bins from the pavement after collection, as they make it hard for wheelchairs and buggies.",
            "Free internet access is available at the library, and staff can help you get started.",
            "The museum is looking for volunteers to welcome visitors and help with the archive.",
            "The hall is available for private hire at weekends, with a kitchen and plenty of tables and chairs.",
        ],
    },
}

CATEGORIES.update({
    "business": {
        "greetings": ["Dear members,", "Dear client,", "Dear Sir or Madam,"],
        "org": ["{last} Accountants", "{town} Chamber of Commerce", "Small Business Network", "{last} Print & Design",
                "{town} Business Forum"],
        "subjects": [
            "Business news for {month}", "Tax deadlines and other reminders", "Members' networking breakfast",
            "Your monthly update from {org}", "Grants, training and events for local firms",
        ],
        "body": [
            "The deadline for filing your tax return is approaching, so please send us your records before the end of the month.",
            "Our next networking breakfast is on {day} {date} {month} at {time}, and members may bring a guest free of charge.",
            "The government has announced changes to business rates, and we have summarised what they mean for small firms.",
            "Monthly payroll reports are now available in the client portal, where you can also download past statements.",
            "A free workshop on marketing for small businesses takes place at the library on {day}, led by {first} {last}.",
            "Sales in the high street were up slightly over the summer, according to our members' survey.",
            "We are pleased to welcome four new member businesses this month, from a florist to a software company.",
            "If your contact details have changed, please update them so that we can keep sending you information.",
            "Our accounts team will be working reduced hours over the holidays; urgent matters can still be handled.",
            "The local council is running a grant programme for shops that improve their energy efficiency; applications close soon.",
            "We recommend keeping receipts for every business purchase, as they support any claim for expenses.",
            "Interest rates remain unchanged this quarter, which is welcome news for firms with loans.",
            "New products from our print studio include recycled business cards and plastic-free packaging.",
            "Thank you for your continued custom; we value every client, large or small.",
            "The annual awards dinner celebrates the success of local businesses, and nominations are open until {day}.",
            "Our offices will move to a new address in the town centre next month, with better access and parking.",
            "Training courses on bookkeeping software run every {day} morning; places cost the same as last year.",
            "The results of the members' survey will be presented at the next meeting, and your response really matters.",
            "Registering for the event is required, as the room holds only forty people.",
            "Financial planning for the year ahead is the subject of our next seminar, and it is free for members.",
            "Our program of workshops continues with sessions on pricing, customer service and selling online.",
        ],
    },
    "travel": {
        "greetings": ["Dear traveller,", "Dear customer,"],
        "org": ["{town} Travel", "Coast and Country Walking Holidays", "{last}'s Coaches", "Hidden Corners Tours",
                "The Narrowboat Company"],
        "subjects": [
            "New tours for next year", "Your trip to the lakes: final details", "Autumn breaks and walking weekends",
            "Travel news from {org}", "Coach trip programme for {month}",
        ],
        "body": [
            "Our programme for next year includes walking holidays in the hills, river cruises and short city breaks.",
            "Coaches leave from the market square at {time}, with further pick-up points at the station and the hospital.",
            "All prices include travel, hotel accommodation with breakfast, and the services of an experienced guide.",
            "Please make sure your passport is valid for at least six months beyond the date of travel on international trips.",
            "A deposit secures your place, and the balance is due eight weeks before departure.",
            "We recommend taking out travel insurance as soon as you book, in case you need to cancel.",
            "The day trip to the gardens on {day} {date} {month} still has a few seats left.",
            "Our guides know every village, pub and viewpoint along the route, and they love sharing stories.",
            "Luggage is carried between hotels, so you only need a small bag for the day.",
            "Several of you asked about trips for people who walk more slowly, so we have added gentle walks to the programme.",
            "Thank you for travelling with us this year, and for the lovely postcards and photographs.",
            "Travel documents will be sent by email two weeks before departure, together with a packing list.",
            "The narrowboats sleep up to six people, and no previous experience is needed to steer one.",
            "Our office is open weekdays from 9 am to 5 pm if you would rather book by phone.",
            "Special rates are available for groups of ten or more, such as clubs and societies.",
            "The tour ends with a farewell dinner at a family-run restaurant overlooking the harbour.",
            "Prices include all entrance fees, so there is nothing extra to pay on the day.",
            "Early booking offers expire at the end of {month}, so do not miss out if you have your heart set on a particular trip.",
            "We can accept payment by card or bank transfer, and the deposit is refundable if we cancel the tour.",
        ],
    },
    "health": {
        "greetings": ["Dear patient,", "Dear members,"],
        "org": ["{town} Medical Practice", "{last}'s Pharmacy", "{town} Dental Surgery", "{town} Leisure Centre",
                "{town} Physiotherapy Clinic"],
        "subjects": [
            "Flu clinics and practice news", "Patient newsletter for {month}", "Repeat prescriptions and opening hours",
            "New classes at the leisure centre", "Staying well this winter",
        ],
        "body": [
            "Flu vaccinations are available for eligible patients on {day} mornings; please book through the reception desk.",
            "Repeat prescriptions can be ordered online and are usually ready at the pharmacy within two working days.",
            "Our pharmacist can give advice on minor illnesses without an appointment, so you do not always need to see a doctor.",
            "The practice will be closed for staff training on the afternoon of {day} {date} {month}.",
            "If you need urgent help when the surgery is closed, please call the out-of-hours service.",
            "We welcome {first} {last}, who joins the practice as a nurse and will run the asthma clinic.",
            "Please let us know if you cannot attend your appointment, so that it can be offered to someone else.",
            "The patient group meets every second {day} and is keen to hear your views on our services.",
            "New exercise classes for older adults start next month, with gentle sessions to improve balance and strength.",
            "The swimming pool timetable has changed, with extra early sessions on weekdays.",
            "Remember to bring a list of your current medicines to your annual review.",
            "Our dental hygienist now has evening appointments on {day}.",
            "Winter can be hard on older neighbours; a friendly call to check they are warm and well makes a real difference.",
            "We never ask for payment details by email or text message, so please ignore any message that does.",
            "You can update your contact details and order medication through the practice website.",
            "Physiotherapy sessions can be booked directly, without a referral from your doctor.",
            "Antibiotics do not work against colds or flu, so rest, fluids and painkillers from the pharmacy are usually the best treatment.",
            "If you are worried about your weight, our nurse runs a friendly healthy eating group on {day} mornings.",
            "Please bring your prescription with you if you are collecting medicine for someone else.",
            "A healthy diet, a little daily exercise and enough sleep do more for most of us than any miracle cure.",
            "Results of blood tests are usually back within a week, and we will call you if anything needs action.",
            "Consultations are private, and you can always ask to speak to the pharmacist in the quiet room.",
        ],
    },
    "finance": {
        "greetings": ["Dear member,", "Dear customer,"],
        "org": ["{town} Credit Union", "{town} Building Society", "Hearth Insurance", "{town} Savings Club"],
        "subjects": [
            "Member news and savings rates", "Your annual statement is ready", "Changes to our branch opening hours",
            "Protecting yourself from scams", "News for members, {month}",
        ],
        "body": [
            "Your annual statement is now available, and you can view it by logging in to online banking or by visiting any branch.",
            "We will never ask you to share your password, PIN or security code, by email, text or over the phone.",
            "If you receive a message claiming to be from us that asks you to verify your account, please delete it and call us.",
            "The interest rate on our regular saver account rises from the first of {month}.",
            "Members voted at the annual meeting to keep the monthly fee on current accounts unchanged.",
            "Our branch in {town} now opens on Saturday mornings, following requests from members who work during the week.",
            "Loans for home improvements are available to members at a fixed rate, subject to the usual checks.",
            "Fraudsters often create a sense of urgency; take your time, and talk to someone you trust before you act.",
            "Debt advice is available free of charge from our trained staff, in complete confidence.",
            "Your home insurance renewal documents will arrive by post three weeks before the policy ends.",
            "Savings of members are protected up to the limit set by the national compensation scheme.",
            "We have donated part of this year's surplus to local projects chosen by members.",
            "The mobile banking app now shows your balance before you log in, if you switch the option on.",
            "Thank you for being a member; as a mutual, we belong to our members rather than to shareholders.",
            "If you are struggling with bills, please talk to us early, and we will work out a plan together.",
            "Cheques can still be paid in at any branch or at the post office.",
            "Fixed rate mortgages are available again, and our advisers can explain the risks and costs in plain language.",
            "If you are planning a major purchase, a credit union loan may cost much less than a store card.",
            "Paying off expensive debts first can save a surprising amount of money over a year.",
            "Any unauthorised transaction on your account should be reported to us immediately, day or night.",
            "We will never move your money to a so-called safe account, whatever a caller may tell you.",
        ],
    },
})

# Whole messages written out, to sit among the composed ones.
WHOLE = [
    """Riverside Gallery: opening night

Dear friends,

We are delighted to invite you to the opening of "Tides", an exhibition of paintings, prints and ceramics by six artists who live and work along the estuary. The opening is on Friday evening from 6 pm, and the artists will be there to talk about their work.

The exhibition continues until the end of next month. The gallery is open Tuesday to Sunday from 10 am to 5 pm, and entry is free.

We hope you can join us.

Warm regards,
The gallery team""",
    """Hello from the allotments

Hi everyone,

What a season it has been. The runner beans have been the best in years, the strawberries less so, and the slugs are still winning the war on lettuce. Thank you to everyone who came to the shared work day; the new compost bays are finished and the water butts are connected.

A few reminders: please keep paths clear, close the gate behind you, and do not light bonfires on dry days. The seed swap is in the hut on Sunday morning, so bring anything you have left over.

See you on the plots,
Margaret, site secretary""",
    """Notewise 4.2 release notes

Hello,

Notewise 4.2 is now available. Highlights of this release:

- Tables in notes can now be sorted by any column.
- Images pasted from the clipboard keep their original size.
- The sidebar remembers which folders you had open.
- Fixed a crash when a note title contained only spaces.

The update is free for all existing users. As always, your notes stay on your devices and in your own account. If anything looks wrong after updating, reply to this email and we will take a look.

Thanks for using Notewise,
The Notewise team""",
    """A note from the head teacher

Dear parents and carers,

As we come to the end of a busy term, I want to thank you for your support. The children have worked hard, and it was a joy to see so many of you at the winter concert.

School closes on Friday at 1.30 pm and reopens on Tuesday the 7th. Please check the website for the clubs that run next term; sign-up forms are due in the first week back.

I wish you all a restful holiday.

Mrs Helen Ward
Head teacher""",
    """Food bank update

Dear supporters,

This winter the demand for food parcels was higher than ever, and you responded magnificently. Donations of tins, pasta, rice, tea and toiletries came in from schools, churches, businesses and neighbours, and our volunteers gave more than three thousand hours of their time.

We are currently short of tinned fish, long-life milk, and nappies in sizes four and five. If you can help, the collection points are listed on our website.

Thank you for standing with your neighbours.

The food bank team""",
    """Lemon drizzle cake

Hello bakers,

This is the cake that disappears first at every school fair. Beat 225 g soft butter with 225 g caster sugar until pale, then add four eggs one at a time. Fold in 225 g self-raising flour and the zest of one lemon. Bake in a lined loaf tin at 180 degrees for about 45 minutes.

While the cake is still warm, prick it all over with a skewer and pour over the juice of one and a half lemons mixed with 85 g of sugar. Leave it to cool in the tin, and the topping sets into a lovely crunchy crust.

Happy baking,
Little Spoon Recipes""",
]
